// The part animation key dialog with a scripted user, on the batch test character opened
// into a scene as the document opens it.

#include "dialogs/CPartKeyDialog.h"

#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedUi.h"
#include "platform/rm/Animation.h"
#include "platform/rm/MeshBuilder.h"
#include "scene/CCharacterData.h"
#include "scene/CPartRecord.h"
#include "scene/PartNaming.h"
#include "scene/SceneFixture.h"
#include "session/EditContext.h"
#include "session/IRenderView.h"
#include "support/BatchTestFiles.h"
#include "xfile/DocumentSave.h"

namespace {

using framework::Dialog;
using framework::IdCancel;
using framework::IdOk;

/// A view that steps through a fixed list of parts.
class PartListView : public session::IRenderView {
public:
    explicit PartListView(session::EditContext& context) : context(context) {}

    rm::Frame* GetCameraPivot() const override { return nullptr; }
    render::Direct3R* GetDevice() const override { return nullptr; }
    int Render() override {
        ++renders;
        context.redrawRequest = false;
        return 1;
    }
    void OnSize(unsigned, int, int) override {}
    void SelectPreviousPart() override { Step(-1); }
    void SelectNextPart() override { Step(+1); }
    int SelectPart(rm::Frame* part) override {
        context.SetSelectedPart(part);
        return 1;
    }

    session::EditContext& context;
    std::vector<rm::Frame*> parts;
    int renders = 0;

private:
    void Step(int step) {
        int at = 0;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (parts[i] == context.selection.Part()) {
                at = static_cast<int>(i);
            }
        }
        const int n = static_cast<int>(parts.size());
        context.SetSelectedPart(parts[static_cast<std::size_t>(((at + step) % n + n) % n)]);
    }
};

class CPartKeyDialogTest : public SceneFixture {
protected:
    CPartKeyDialogTest() {
        context.Reset();
        d3drm->CreateFrame(nullptr, &sceneRoot);
        d3drm->CreateFrame(sceneRoot.Get(), &sceneFrame);
        context.sceneRoot = sceneRoot.Get();
        Open();
    }
    ~CPartKeyDialogTest() override {
        context.SetSelectedPart(nullptr);
        context.Reset();
    }

    void Open() {
        ASSERT_TRUE(dir.isValid());
        const QString path = batch_test::WriteCharacterFile(dir.path());
        scene::SceneDocument doc;
        doc.sceneFrame = sceneFrame.Get();
        doc.store = store.get();
        context.SetSelectedPart(nullptr);
        ASSERT_EQ(
            scene::OpenDocument(doc, path.toLocal8Bit().constData(), scene::OpenMode::NewScene).ok,
            1);
        context.currentCharacter = doc.currentCharacter;
        context.currentModel = doc.currentModel;
        context.currentAnimation = doc.currentAnimation;
        body = context.currentModel->Root()->Children()[0].Get();
        arm = body->Children()[0].Get();
        view.parts = {body, arm};
    }

    /// Runs the dialog on `part` with `script` playing the user; returns its result.
    int Run(rm::Frame* part, std::function<void(CPartKeyDialog&)> script) {
        context.SetSelectedPart(part);
        ui.dialogRunner.Push(
            [script](Dialog& dialog) { script(static_cast<CPartKeyDialog&>(dialog)); });
        CPartKeyDialog dialog(context, [this] { return withView ? &view : nullptr; });
        return dialog.DoModal();
    }

    static QStringList Lines(Dialog& dialog) {
        QStringList lines;
        for (int i = 0; i < dialog.Controls().GetCount(CPartKeyDialog::KeyList); ++i) {
            lines.push_back(dialog.Controls().GetLBText(CPartKeyDialog::KeyList, i));
        }
        return lines;
    }

    static rm::Animation* AnimationOf(rm::Frame* part) { return CPartRecord::Of(part)->animation; }
    static std::string BaseName(rm::Frame* part) {
        return CPartRecord::Of(part)->baseName.value_or("");
    }

    session::EditContext context;
    QTemporaryDir dir;
    rm::Ref<rm::Frame> sceneRoot, sceneFrame;
    framework::ScriptedUi ui;
    PartListView view{context};
    bool withView = true;
    rm::Frame* body = nullptr;
    rm::Frame* arm = nullptr;
};

TEST_F(CPartKeyDialogTest, TheKeyListHasOneLinePerKeyAndASecondForEachPositionKey) {
    rm::Ref<rm::Animation> animation;
    d3drm->CreateAnimation(&animation);
    animation->AddRotateKey(0, {1, {0, 0, 0}});
    animation->AddPositionKey(10, 1, 2, 3);
    animation->AddScaleKey(20, 2, 2, 2);
    animation->AddPositionKey(-5, 9, 9, 9); // before 0: not listed
    CPartRecord::Of(arm)->animation = animation.Get();
    QStringList lines;
    Run(arm, [&](CPartKeyDialog& dialog) { lines = Lines(dialog); });
    EXPECT_EQ(lines, (QStringList{"0: Time=0.00, Type=1, ID=1", "1: Time=10.00, Type=3, ID=2",
                                  "1: x=1.00, y=2.00, z=3.00", "2: Time=20.00, Type=2, ID=3"}));
}

TEST_F(CPartKeyDialogTest, EachOptionControlSetsItsBitsAndCloseOrOpenStartUnselected) {
    AnimationOf(arm)->SetOptions(0);
    const struct {
        int control;
        std::uint32_t options;
    } steps[] = {
        {CPartKeyDialog::OpenRadio, 0x01},          {CPartKeyDialog::CloseRadio, 0x02},
        {CPartKeyDialog::OpenRadio, 0x01},          {CPartKeyDialog::PositionCheck, 0x21},
        {CPartKeyDialog::ScaleRotationCheck, 0x31}, {CPartKeyDialog::LinerRadio, 0x35},
        {CPartKeyDialog::SplineRadio, 0x39},        {CPartKeyDialog::PositionCheck, 0x19},
    };
    int playAtStart = 0, complementAtStart = 0, checkedAtStart = -1;
    std::vector<std::uint32_t> seen;
    EXPECT_EQ(Run(arm,
                  [&](CPartKeyDialog& dialog) {
                      playAtStart = dialog.PlayOption();
                      complementAtStart = dialog.Complement();
                      checkedAtStart = dialog.Controls().IsDlgButtonChecked(1030) +
                                       dialog.Controls().IsDlgButtonChecked(1031);
                      for (const auto& step : steps) {
                          dialog.ClickButton(step.control);
                          seen.push_back(dialog.Options());
                      }
                      dialog.ClickButton(IdOk);
                  }),
              IdOk);
    EXPECT_EQ(playAtStart, -1);
    EXPECT_EQ(complementAtStart, -1);
    EXPECT_EQ(checkedAtStart, 0);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i], steps[i].options) << "after step " << i;
    }
    EXPECT_EQ(AnimationOf(arm)->GetOptions(), 0x19u);
}

TEST_F(CPartKeyDialogTest, EscapeStillAppliesTheOptionsAndANonEmptyName) {
    ASSERT_EQ(AnimationOf(arm)->GetOptions() & 0x0Cu, 0x04u);
    // The script leaves the dialog open: the runner cancels it as Escape does.
    EXPECT_EQ(Run(arm,
                  [](CPartKeyDialog& dialog) {
                      dialog.ClickButton(CPartKeyDialog::SplineRadio);
                      dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, "Hand");
                  }),
              IdCancel);
    EXPECT_EQ(AnimationOf(arm)->GetOptions() & 0x0Cu, 0x08u);
    EXPECT_EQ(BaseName(arm), "Hand");
}

TEST_F(CPartKeyDialogTest, ARenamedPartIsStoredInCodePage932AndKeepsItsAnimation) {
    const struct {
        QString typed;
        std::string stored; // empty: the old name stays
        bool message;
    } rows[] = {
        {QStringLiteral("Leg"), "Leg", false},
        // "ー", "マ" and "本" end in the bytes of '[', '}' and '{' in code page 932.
        {QStringLiteral("マー本"), "\x83\x7D\x81\x5B\x96\x7B", false},
        {QStringLiteral("①髙"), "\x87\x40\xFB\xFC", false},
        {QString(), "", false},
        {QStringLiteral("left arm"), "", true},
        {QStringLiteral("a{b"), "", true},
        {QStringLiteral("a,b"), "", true},
        {QStringLiteral("a;b"), "", true},
        {QStringLiteral("Café"), "", true},
        {QStringLiteral("Body"), "", true}, // the other part's name
    };
    for (const auto& row : rows) {
        Open();
        ui.messageBox.Clear();
        rm::Animation* animation = AnimationOf(arm);
        ASSERT_EQ(Run(arm,
                      [&](CPartKeyDialog& dialog) {
                          EXPECT_EQ(dialog.PartTypeName(), QStringLiteral("Arm"));
                          dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, row.typed);
                          dialog.ClickButton(IdOk);
                      }),
                  IdOk);
        const std::string expected = row.stored.empty() ? "Arm" : row.stored;
        EXPECT_EQ(BaseName(arm), expected) << row.typed.toStdString();
        EXPECT_EQ(ui.messageBox.Asked().size(), row.message ? 1u : 0u) << row.typed.toStdString();
        if (row.message) {
            EXPECT_EQ(ui.messageBox.Asked()[0].style, 0x30u);
        }
        EXPECT_EQ(arm->Name(), scene::MakeWorkingName(expected, arm->Id()));
        // OK rebinds the sets by name: the part keeps its animation.
        context.currentCharacter->SetModel(nullptr);
        EXPECT_EQ(AnimationOf(arm), animation) << row.typed.toStdString();
    }
}

TEST_F(CPartKeyDialogTest, ARenamedPartIsSavedAndReopenedUnderItsNewNameWithItsAnimation) {
    Run(arm, [](CPartKeyDialog& dialog) {
        dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, QStringLiteral("右腕マー"));
        dialog.ClickButton(IdOk);
    });
    context.currentCharacter->SetModel(nullptr);
    const std::string path = dir.filePath(QStringLiteral("renamed.x")).toStdString();
    std::string error;
    ASSERT_EQ(
        xfile::SaveCharacter(path.c_str(), context.currentModel, context.currentAnimation, &error),
        1)
        << error;
    const batch_test::Snapshot reopened = batch_test::CaptureFile(path);
    ASSERT_EQ(reopened.parts.size(), 2u);
    // "右腕マー" in code page 932: the reader must not stop at the "}" and "[" inside it.
    EXPECT_EQ(reopened.parts[1].name, "\x89\x45\x98\x72\x83\x7D\x81\x5B");
    EXPECT_EQ(reopened.parts[1].keyTimes, (std::vector<float>{5, 5, 15, 15}));
    EXPECT_EQ(reopened.parts[1].positionKeys.size(), 2u);
    EXPECT_EQ(reopened.parts[0].name, "Body");
}

TEST_F(CPartKeyDialogTest, EveryAnimationSetAndBoneBoundToThePartFollowsARename) {
    // A second set drives the Arm too, as the other sets of a character do.
    CAnimationData* second = MakeAnimation("second.x", {{"Wave", "Arm"}});
    ASSERT_EQ(second->Bind(context.currentModel), 1);
    g_animationLibrary = &store->Animations();
    rm::Animation* wave = second->Set()->Animations()[0].Get();
    ASSERT_EQ(wave->GetFrame().Get(), arm);
    // So do the bones of a skinned mesh, which name the part by its file's name.
    rm::Ref<rm::MeshBuilder> skinned;
    d3drm->CreateMeshBuilder(&skinned);
    skinned->AddVertex(0, 0, 0);
    skinned->SetSkin({1, 1, {{"Arm", {0}, {1.0f}, {}}, {"Body", {0}, {0.5f}, {}}}});
    body->AddVisual(skinned.Get());
    Run(arm, [](CPartKeyDialog& dialog) {
        dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, QStringLiteral("Hand"));
        dialog.ClickButton(IdOk);
    });
    EXPECT_EQ(skinned->GetSkin().bones[0].frameName, "Hand");
    EXPECT_EQ(skinned->GetSkin().bones[1].frameName, "Body");
    EXPECT_EQ(wave->Name(), scene::MakeWorkingName("Hand", wave->Id()));
    ASSERT_EQ(second->Bind(context.currentModel), 1);
    EXPECT_EQ(wave->GetFrame().Get(), arm);
}

TEST_F(CPartKeyDialogTest, BackAndForwardApplyToThePartShownAndStepThroughTheParts) {
    std::vector<QString> names;
    Run(body, [&](CPartKeyDialog& dialog) {
        names.push_back(dialog.PartTypeName());
        dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, QStringLiteral("Torso"));
        dialog.ClickButton(CPartKeyDialog::SplineRadio);
        dialog.ClickButton(CPartKeyDialog::ForwardButton);
        names.push_back(dialog.PartTypeName());
        EXPECT_EQ(dialog.Keys().size(), 4u);               // the Arm's
        dialog.ClickButton(CPartKeyDialog::ForwardButton); // wraps round
        names.push_back(dialog.PartTypeName());
        dialog.ClickButton(CPartKeyDialog::BackButton);
        names.push_back(dialog.PartTypeName());
        dialog.ClickButton(IdOk);
    });
    EXPECT_EQ(names, (std::vector<QString>{"Body", "Arm", "Torso", "Arm"}));
    EXPECT_EQ(BaseName(body), "Torso");
    EXPECT_EQ(AnimationOf(body)->GetOptions() & 0x0Cu, 0x08u);
    EXPECT_EQ(AnimationOf(arm)->GetOptions() & 0x0Cu, 0x04u);
    EXPECT_EQ(view.renders, 3);

    // Without a view, Back and Forward do nothing at all.
    withView = false;
    Run(arm, [&](CPartKeyDialog& dialog) {
        dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, QStringLiteral("Wing"));
        dialog.ClickButton(CPartKeyDialog::ForwardButton);
        EXPECT_EQ(BaseName(arm), "Arm");
        EXPECT_EQ(dialog.PartTypeName(), QStringLiteral("Arm"));
        dialog.ClickButton(IdOk);
    });
    EXPECT_EQ(BaseName(arm), "Wing");
}

TEST_F(CPartKeyDialogTest, WithoutAPartItClosesAtOnceAndWithoutAnAnimationOnlyTheNameIsEditable) {
    bool scripted = false;
    EXPECT_EQ(Run(nullptr, [&](CPartKeyDialog&) { scripted = true; }), IdCancel);
    EXPECT_FALSE(scripted);
    ui.dialogRunner = framework::ScriptedDialogRunner(); // drop the unused script

    CPartRecord::Of(arm)->animation = nullptr;
    Run(arm, [](CPartKeyDialog& dialog) {
        framework::DialogControls& controls = dialog.Controls();
        EXPECT_EQ(controls.GetCount(CPartKeyDialog::KeyList), 0);
        for (int id : {1030, 1031, 1032, 1034, 1035, 1036}) {
            EXPECT_EQ(controls.IsDlgItemEnabled(id), 0) << id;
        }
        for (int id : {1033, 1039, 1040}) {
            EXPECT_EQ(controls.IsDlgItemEnabled(id), 1) << id;
        }
        dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit, QStringLiteral("Claw"));
        dialog.ClickButton(IdOk);
    });
    EXPECT_EQ(BaseName(arm), "Claw");
}

} // namespace
