#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QStringList>

#include "platform/framework/Dialog.h"
#include "platform/rm/Types.h"

namespace session {
class EditContext;
class IRenderView;
} // namespace session
struct CPartRecord;

namespace rm {
class Animation;
class Frame;
} // namespace rm

/// "パーツ・アニメーションキーの編集" (template 135): the keys of the animation that drives
/// the selected part (the context's selection), that animation's play and interpolation options,
/// the part's type name (its base name, by which animations bind to it), and Back and
/// Forward to the previous and next part of the view's part order.
///
/// The option controls change only the dialog's copy of the option bits; `Apply` writes
/// them to the animation, and the type name to the part, on Back and Forward and whenever
/// the dialog closes — after OK and after Escape alike. An empty type name is never
/// stored. A name the saved file could not carry (see part_name_text::FromText) is refused
/// with a message and the old name stays. A renamed part keeps its animation: the
/// animation's working name follows the part's, and the name read from the file is
/// replaced too, so a save writes the new name.
class CPartKeyDialog : public framework::Dialog {
    Q_OBJECT

public:
    enum ControlId {
        KeyList = 1002,
        PartTypeNameEdit = 1033,
        CloseRadio = 1030,
        OpenRadio = 1031,
        PositionCheck = 1032,
        ScaleRotationCheck = 1034,
        LinerRadio = 1035,
        SplineRadio = 1036,
        BackButton = 1039,
        ForwardButton = 1040,
    };

    /// The main window's active 3D view, or null; Back and Forward step through it.
    using ActiveView = std::function<session::IRenderView*()>;

    /// `context` is borrowed and must outlive the dialog.
    CPartKeyDialog(session::EditContext& context, ActiveView activeView, QWidget* parent = nullptr);
    ~CPartKeyDialog() override;

    static framework::DialogTemplate Template();

    /// Reads the selected part into the dialog: part record, animation, key list, option
    /// bits and the controls. 0 when no part is selected.
    int Refresh();
    /// Fills the key buffer from the animation (all keys from time 0 on). 0 without one.
    int LoadKeys();
    /// Writes the option bits to the animation and a changed, non-empty type name to the
    /// part (see the class comment).
    void Apply();

    int OnInitDialog() override;
    void OnDestroy() override;
    void DoDataExchange(framework::DataExchange& exchange) override;

    /// The dialog's fields, as the controls were last read or written.
    std::uint32_t Options() const { return m_options; }
    /// 0 closed, 1 open, -1 neither.
    int PlayOption() const { return m_playOption; }
    /// 0 linear, 1 spline, -1 neither.
    int Complement() const { return m_complement; }
    int Position() const { return m_position; }
    int ScaleRotation() const { return m_scaleRotation; }
    const QString& PartTypeName() const { return m_partTypeName; }
    const std::vector<rm::AnimationKey>& Keys() const { return m_keys; }
    /// 1 once `Apply` changed an animation's options or a part's name.
    int ChangedSomething() const { return m_changed ? 1 : 0; }

    /// The key list's line for key `index` (one line; position keys add a second, see
    /// PositionLine).
    static QString KeyLine(int index, const rm::AnimationKey& key);
    static QString PositionLine(int index, const rm::AnimationKey& key);

private:
    void SetOptionBits(std::uint32_t clear, std::uint32_t set);
    void Step(int direction);
    void Rename(const QString& text);
    QLayout* MakeLayout();

    session::EditContext& m_context;
    ActiveView m_activeView;
    int m_playOption = -1;
    int m_scaleRotation = 0;
    int m_position = 0;
    int m_complement = -1;
    QString m_partTypeName;
    rm::Animation* m_animation = nullptr; // borrowed from the part record
    std::vector<rm::AnimationKey> m_keys;
    QStringList m_lines; // reused by Refresh
    std::uint32_t m_options = 0;
    CPartRecord* m_partRecord = nullptr; // borrowed from the frame
    rm::Frame* m_frame = nullptr;        // borrowed: the selected part shown
    bool m_changed = false;
};
