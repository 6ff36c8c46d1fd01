#pragma once

// What the command tests share: an edit context of their own, a folder
// for files, and File Open of a character as the document does it.

#include <string>

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/TestCharacters.h"
#include "platform/rm/Frame.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneFixture.h"
#include "session/EditContext.h"
#include "xfile/DocumentSave.h"

class CommandFixture : public SceneFixture {
protected:
    /// Opens `path` as a new scene and makes its character, model and animation set
    /// current.
    void OpenAsDocument(const QString& path) {
        d3drm->CreateFrame(nullptr, &sceneFrame);
        scene::SceneDocument doc;
        doc.sceneFrame = sceneFrame.Get();
        doc.store = store.get();
        const QByteArray name = path.toLocal8Bit();
        const scene::DocumentOpenResult opened =
            scene::OpenDocument(doc, name.constData(), scene::OpenMode::NewScene);
        ASSERT_EQ(opened.ok, 1) << opened.reason;
        context.TakeCurrentPointers(doc);
    }

    /// Writes `text` as in.x into the test's folder, opens it as OpenAsDocument does and
    /// builds the key-time list.
    void OpenText(const std::string& text) {
        ASSERT_TRUE(dir.isValid());
        ASSERT_NO_FATAL_FAILURE(
            OpenAsDocument(shell_test::WriteTextFile(dir.path(), QStringLiteral("in.x"), text)));
        context.currentAnimation->UpdateTotalKeyTimeBuffer();
    }

    /// Saves the current model and animation set as File Save does to `name` in the
    /// test's folder; its path.
    std::string SaveCurrent(const char* name) {
        const std::string path = dir.filePath(QString::fromUtf8(name)).toStdString();
        std::string error;
        EXPECT_EQ(xfile::SaveCharacter(path.c_str(), context.currentModel, context.currentAnimation,
                                       &error),
                  1)
            << error;
        return path;
    }

    /// What the commands under test work on.
    session::EditContext context;

    QTemporaryDir dir;
    rm::Ref<rm::Frame> sceneFrame;
};
