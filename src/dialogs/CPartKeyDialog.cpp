#include "dialogs/CPartKeyDialog.h"

#include <cfloat>

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>

#include "dialogs/PartNameText.h"
#include "platform/framework/IMessageBox.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "platform/framework/UiServices.h"
#include "platform/rm/Animation.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "resources/ResourceIds.h"
#include "scene/CAnimationData.h"
#include "scene/CPartRecord.h"
#include "scene/PartNaming.h"
#include "scene/SkinEdits.h"
#include "session/EditContext.h"
#include "session/IRenderView.h"

namespace {

constexpr char kTitle[] = QT_TRANSLATE_NOOP("Pavrix", "パーツ・アニメーションキーの編集");
constexpr char kBadName[] = QT_TRANSLATE_NOOP(
    "Pavrix",
    "パーツ名「%1」は使えません。\n"
    "空白、{ } [ ] ( ) < > \" , ; を含む名前や、Shift-JIS (コードページ 932) で表せない文字を"
    "含む名前は、保存したファイルから読み直せません。\n"
    "パーツ名は「%2」のままです。");
constexpr char kNameTaken[] = QT_TRANSLATE_NOOP(
    "Pavrix", "パーツ名「%1」は同じモデルの別のパーツが使っています。\n"
              "アニメーションはパーツ名で結び付くため、同じ名前は付けられません。\n"
              "パーツ名は「%2」のままです。");

// The root of the model `frame` belongs to. The model's frames all carry part records; the
// frame above its root does not.
rm::Frame* ModelRootOf(rm::Frame* frame) {
    rm::Frame* root = frame;
    for (rm::Frame* parent = root->GetParent(); parent != nullptr && CPartRecord::Of(parent);
         parent = parent->GetParent()) {
        root = parent;
    }
    return root;
}

// Whether another frame of the model `frame` belongs to has the base name `name`.
bool NameTakenInModel(rm::Frame* frame, const std::string& name) {
    std::vector<rm::Frame*> pending{ModelRootOf(frame)};
    while (!pending.empty()) {
        rm::Frame* current = pending.back();
        pending.pop_back();
        const CPartRecord* record = CPartRecord::Of(current);
        if (current != frame && record != nullptr && record->baseName == name) {
            return true;
        }
        for (const auto& child : current->Children()) {
            pending.push_back(child.Get());
        }
    }
    return false;
}

// Template positions of the controls the layout places.
enum Index {
    AtKeyListLabel,
    AtKeyListBox,
    AtNameLabel,
    AtNameEdit,
    AtOptionGroup,
    AtPlayLabel,
    AtCloseRadio,
    AtOpenRadio,
    AtMatrixLabel,
    AtPositionCheck,
    AtScaleRotationCheck,
    AtComplementLabel,
    AtLinerRadio,
    AtSplineRadio,
    AtSelectLabel,
    AtBackButton,
    AtForwardButton,
    AtOkButton,
};

} // namespace

framework::DialogTemplate CPartKeyDialog::Template() {
    using Control = framework::ControlTemplate;
    using Kind = Control::Kind;
    const auto make = [](Kind kind, int id, const char* text, unsigned style = 0) {
        return Control::Make(kind, id, text, {}, style);
    };
    framework::DialogTemplate dialog;
    dialog.id = resources::res::PartKeyDialog;
    dialog.title = framework::Tr(kTitle);
    dialog.size = QSize(238, 221);
    dialog.controls = {
        make(Kind::Static, -1, QT_TRANSLATE_NOOP("Pavrix", "Animation Key List")),
        make(Kind::ListBox, KeyList, ""),
        make(Kind::Static, -1, QT_TRANSLATE_NOOP("Pavrix", "PartsTypeName")),
        make(Kind::Edit, PartTypeNameEdit, ""),
        make(Kind::GroupBox, -1, QT_TRANSLATE_NOOP("Pavrix", "Animation Option")),
        make(Kind::Static, -1, QT_TRANSLATE_NOOP("Pavrix", "Play")),
        make(Kind::RadioButton, ControlId::CloseRadio, QT_TRANSLATE_NOOP("Pavrix", "Close"),
             Control::Group),
        make(Kind::RadioButton, ControlId::OpenRadio, QT_TRANSLATE_NOOP("Pavrix", "Open")),
        make(Kind::Static, -1, QT_TRANSLATE_NOOP("Pavrix", "Matrix"), Control::Group),
        make(Kind::CheckBox, ControlId::PositionCheck, QT_TRANSLATE_NOOP("Pavrix", "Position")),
        make(Kind::CheckBox, ControlId::ScaleRotationCheck,
             QT_TRANSLATE_NOOP("Pavrix", "Scale && Rotation")),
        make(Kind::Static, -1, QT_TRANSLATE_NOOP("Pavrix", "Position Complement")),
        make(Kind::RadioButton, ControlId::LinerRadio, QT_TRANSLATE_NOOP("Pavrix", "Liner"),
             Control::Group),
        make(Kind::RadioButton, ControlId::SplineRadio, QT_TRANSLATE_NOOP("Pavrix", "Spline")),
        make(Kind::Static, -1, QT_TRANSLATE_NOOP("Pavrix", "Select Parts"), Control::Group),
        make(Kind::PushButton, ControlId::BackButton, QT_TRANSLATE_NOOP("Pavrix", "Back")),
        make(Kind::PushButton, ControlId::ForwardButton, QT_TRANSLATE_NOOP("Pavrix", "Forward")),
        make(Kind::DefPushButton, framework::IdOk, QT_TRANSLATE_NOOP("Pavrix", "OK"),
             Control::Group),
    };
    return dialog;
}

CPartKeyDialog::CPartKeyDialog(session::EditContext& context, ActiveView activeView,
                               QWidget* parent)
    : framework::Dialog(Template(), parent), m_context(context),
      m_activeView(std::move(activeView)) {
    // A caption without a system menu or close box: Escape is the way out besides OK.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setLayout(MakeLayout());

    MapCommand(ControlId::CloseRadio, [this] {
        m_playOption = 0;
        SetOptionBits(rm::D3DRMANIMATION_OPEN, rm::D3DRMANIMATION_CLOSED);
    });
    MapCommand(ControlId::OpenRadio, [this] {
        m_playOption = 1;
        SetOptionBits(rm::D3DRMANIMATION_CLOSED | rm::D3DRMANIMATION_OPEN, rm::D3DRMANIMATION_OPEN);
    });
    MapCommand(ControlId::PositionCheck, [this] {
        UpdateData(1);
        m_position ? SetOptionBits(0, rm::D3DRMANIMATION_POSITION)
                   : SetOptionBits(rm::D3DRMANIMATION_POSITION, 0);
    });
    MapCommand(ControlId::ScaleRotationCheck, [this] {
        UpdateData(1);
        m_scaleRotation ? SetOptionBits(0, rm::D3DRMANIMATION_SCALEANDROTATION)
                        : SetOptionBits(rm::D3DRMANIMATION_SCALEANDROTATION, 0);
    });
    MapCommand(ControlId::LinerRadio, [this] {
        m_complement = 0;
        SetOptionBits(rm::D3DRMANIMATION_SPLINEPOSITION, rm::D3DRMANIMATION_LINEARPOSITION);
    });
    MapCommand(ControlId::SplineRadio, [this] {
        m_complement = 1;
        SetOptionBits(rm::D3DRMANIMATION_LINEARPOSITION, rm::D3DRMANIMATION_SPLINEPOSITION);
    });
    MapCommand(ControlId::BackButton, [this] { Step(-1); });
    MapCommand(ControlId::ForwardButton, [this] { Step(+1); });
}

CPartKeyDialog::~CPartKeyDialog() = default;

QLayout* CPartKeyDialog::MakeLayout() {
    framework::DialogControls& controls = Controls();
    const auto at = [&controls](int index) { return controls.GetControlAt(index); };
    auto* layout = new QVBoxLayout;
    layout->addWidget(at(AtKeyListLabel));
    layout->addWidget(at(AtKeyListBox), 1);
    auto* name = new QHBoxLayout;
    name->addWidget(at(AtNameLabel));
    name->addWidget(at(AtNameEdit), 1);
    layout->addLayout(name);
    auto* options = new QGridLayout(static_cast<QGroupBox*>(at(AtOptionGroup)));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            options->addWidget(at(AtPlayLabel + 3 * row + column), row, column);
        }
    }
    layout->addWidget(at(AtOptionGroup));
    auto* buttons = new QHBoxLayout;
    for (int index : {AtSelectLabel, AtBackButton, AtForwardButton}) {
        buttons->addWidget(at(index));
    }
    buttons->addStretch(1);
    buttons->addWidget(at(AtOkButton));
    layout->addLayout(buttons);
    return layout;
}

void CPartKeyDialog::DoDataExchange(framework::DataExchange& exchange) {
    exchange.Text(PartTypeNameEdit, m_partTypeName);
    exchange.Radio(ControlId::CloseRadio, m_playOption);
    exchange.Check(ControlId::PositionCheck, m_position);
    exchange.Check(ControlId::ScaleRotationCheck, m_scaleRotation);
    exchange.Radio(ControlId::LinerRadio, m_complement);
}

int CPartKeyDialog::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    m_keys.clear();
    if (!Refresh()) {
        EndDialog(framework::IdCancel);
    }
    return 1;
}

void CPartKeyDialog::OnDestroy() {
    framework::Dialog::OnDestroy();
    m_keys.clear();
    Apply();
}

QString CPartKeyDialog::KeyLine(int index, const rm::AnimationKey& key) {
    return QString::asprintf("%d: Time=%.2f, Type=%d, ID=%x", index, double(key.dvTime),
                             static_cast<int>(key.dwKeyType), key.dwID);
}

QString CPartKeyDialog::PositionLine(int index, const rm::AnimationKey& key) {
    return QString::asprintf("%d: x=%.2f, y=%.2f, z=%.2f", index, double(key.dvPositionKey.x),
                             double(key.dvPositionKey.y), double(key.dvPositionKey.z));
}

int CPartKeyDialog::Refresh() {
    m_animation = nullptr;
    m_options = 0;
    m_partRecord = nullptr;
    m_frame = m_context.SelectedPartInScene();
    if (m_frame == nullptr) {
        return 0;
    }
    m_partRecord = CPartRecord::Of(m_frame);
    if (m_partRecord != nullptr) {
        m_animation = m_partRecord->animation;
    }

    framework::DialogControls& controls = Controls();
    for (int id :
         {int(PartTypeNameEdit), int(ControlId::BackButton), int(ControlId::ForwardButton)}) {
        controls.EnableDlgItem(id, m_partRecord != nullptr);
    }
    for (int id : {int(ControlId::CloseRadio), int(ControlId::OpenRadio),
                   int(ControlId::PositionCheck), int(ControlId::ScaleRotationCheck),
                   int(ControlId::LinerRadio), int(ControlId::SplineRadio)}) {
        controls.EnableDlgItem(id, m_animation != nullptr);
    }

    controls.ResetContent(KeyList);
    LoadKeys();
    m_lines.clear();
    m_lines.reserve(static_cast<qsizetype>(m_keys.size() * 2));
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const rm::AnimationKey& key = m_keys[i];
        m_lines.push_back(KeyLine(static_cast<int>(i), key));
        if (key.dwKeyType == rm::D3DRMANIMATION_POSITIONKEY) {
            m_lines.push_back(PositionLine(static_cast<int>(i), key));
        }
    }
    controls.AddStrings(KeyList, m_lines);

    if (m_animation != nullptr) {
        m_options = m_animation->GetOptions();
    }
    m_playOption = (m_options & rm::D3DRMANIMATION_CLOSED) ? 0
                   : (m_options & rm::D3DRMANIMATION_OPEN) ? 1
                                                           : -1;
    m_position = (m_options & rm::D3DRMANIMATION_POSITION) ? 1 : 0;
    m_scaleRotation = (m_options & rm::D3DRMANIMATION_SCALEANDROTATION) ? 1 : 0;
    m_complement = (m_options & rm::D3DRMANIMATION_LINEARPOSITION)   ? 0
                   : (m_options & rm::D3DRMANIMATION_SPLINEPOSITION) ? 1
                                                                     : -1;
    if (m_partRecord != nullptr) {
        m_partTypeName = part_name_text::ToText(m_partRecord->baseName.value_or(std::string()));
    }
    UpdateData(0);
    return 1;
}

int CPartKeyDialog::LoadKeys() {
    m_keys.clear();
    if (m_animation == nullptr) {
        return 0;
    }
    std::uint32_t count = 0;
    m_animation->GetKeys(0.0f, FLT_MAX, &count, nullptr);
    if (count > 0) {
        m_keys.resize(count);
        m_animation->GetKeys(0.0f, FLT_MAX, &count, m_keys.data());
        m_keys.resize(count);
    }
    return 1;
}

void CPartKeyDialog::SetOptionBits(std::uint32_t clear, std::uint32_t set) {
    m_options = (m_options & ~clear) | set;
}

void CPartKeyDialog::Apply() {
    if (m_animation != nullptr) {
        m_changed = m_changed || m_animation->GetOptions() != m_options;
        m_animation->SetOptions(m_options);
    }
    UpdateData(1);
    if (m_partRecord == nullptr || m_partTypeName.isEmpty()) {
        return;
    }
    Rename(m_partTypeName);
}

void CPartKeyDialog::Rename(const QString& text) {
    const std::string old = m_partRecord->baseName.value_or(std::string());
    // The name as shown: stored again it could change its bytes (UTF-8 to code page 932).
    if (text == part_name_text::ToText(old)) {
        return;
    }
    const std::string bytes = part_name_text::FromText(text);
    const char* refusal = bytes.empty()                      ? kBadName
                          : NameTakenInModel(m_frame, bytes) ? kNameTaken
                                                             : nullptr;
    if (refusal != nullptr) {
        framework::UiServices::MessageBoxes().Show(
            this, framework::Tr(refusal).arg(text, part_name_text::ToText(old)),
            framework::Tr(kTitle), framework::MbIconExclamation);
        return;
    }
    m_changed = true;
    m_partRecord->baseName = bytes;
    // Bones name their frames by the file's name: those of this frame take the new one.
    if (m_partRecord->fileName) {
        scene::RenameBones(ModelRootOf(m_frame), *m_partRecord->fileName, bytes);
    }
    // The save puts the file's names back on the frames: the new name is the file's now.
    m_partRecord->fileName = bytes;
    m_frame->SetName(scene::MakeWorkingName(bytes, m_frame->Id()).c_str());
    // The part keeps its animations when the character binds its sets again by name: the
    // one the record names and those of every other set bound to the model.
    std::vector<rm::Animation*> driving;
    if (m_partRecord->animation != nullptr) {
        driving.push_back(m_partRecord->animation);
    }
    if (g_animationLibrary != nullptr) {
        auto& entries = g_animationLibrary->Entries();
        entries.BeginWalk();
        while (auto* entry = entries.WalkNext()) {
            if (rm::AnimationSet* set = entry->Payload().Set()) {
                for (const auto& animation : set->Animations()) {
                    if (animation->GetFrame().Get() == m_frame) {
                        driving.push_back(animation.Get());
                    }
                }
            }
        }
    }
    for (rm::Animation* animation : driving) {
        animation->SetName(scene::MakeWorkingName(bytes, animation->Id()).c_str());
    }
}

void CPartKeyDialog::Step(int direction) {
    session::IRenderView* view = m_activeView ? m_activeView() : nullptr;
    if (view == nullptr) {
        return;
    }
    Apply();
    if (direction < 0) {
        view->SelectPreviousPart();
    } else {
        view->SelectNextPart();
    }
    Refresh();
    m_context.redrawRequest = true;
    view->Render();
}
