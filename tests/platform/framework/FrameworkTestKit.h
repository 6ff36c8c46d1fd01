#pragma once

// Small recording subclasses of the framework classes, shared by the framework tests.

#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "platform/framework/Application.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/View.h"

namespace framework_test {

using Log = std::vector<std::string>;

class TestApp : public framework::Application {
public:
    TestApp() : Application(QStringLiteral("Pavrix / Prototype")) {}
    using CommandTarget::MapCommand;
    using CommandTarget::MapNotify;
    using CommandTarget::MapUpdate;
};

class TestView : public framework::View {
public:
    using CommandTarget::MapCommand;
    using CommandTarget::MapNotify;
    using CommandTarget::MapUpdate;

    void OnInitialUpdate() override {
        ++initialUpdates;
        View::OnInitialUpdate();
    }
    int initialUpdates = 0;
};

class TestDocument : public framework::Document {
public:
    using CommandTarget::MapCommand;
    using CommandTarget::MapNotify;
    using CommandTarget::MapUpdate;

    int OnNewDocument() override {
        log.push_back("new");
        frameSeenAtNew = GetFrame() != nullptr;
        if (!newResult) {
            return 0;
        }
        return Document::OnNewDocument();
    }
    int OnOpenDocument(const QString& path) override {
        log.push_back("open " + path.toStdString());
        if (!openResult) {
            return 0;
        }
        return Document::OnOpenDocument(path);
    }
    int OnSaveDocument(const QString& path) override {
        log.push_back("save " + path.toStdString());
        // Like the program's document: the flag goes first, whatever happens next.
        SetModifiedFlag(0);
        return saveResult;
    }

    Log log;
    int newResult = 1;
    int openResult = 1;
    int saveResult = 1;
    bool frameSeenAtNew = false;
};

class TestFrame : public framework::FrameWindow {
public:
    using CommandTarget::MapCommand;
    using CommandTarget::MapNotify;
    using CommandTarget::MapUpdate;

    int OnCreate(framework::CreateContext& context) override {
        if (failCreate) {
            return -1;
        }
        return FrameWindow::OnCreate(context);
    }
    bool failCreate = false;
};

} // namespace framework_test
