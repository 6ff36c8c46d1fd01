#include "platform/framework/DialogControls.h"

#include <algorithm>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "platform/framework/TrackBar.h"

namespace framework {

namespace {

const char* const kRawTextProperty = "pavrixRawText";

// Labels do not take mnemonics, so "&&" becomes '&' and a lone '&' disappears, as the
// label would show them.
QString LabelText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        shown += text[i];
    }
    return shown;
}

bool IsButtonKind(ControlTemplate::Kind kind) {
    using Kind = ControlTemplate::Kind;
    return kind == Kind::PushButton || kind == Kind::DefPushButton || kind == Kind::CheckBox ||
           kind == Kind::RadioButton;
}

// Halves rounded as the platform's MulDiv does, so templates land on the same pixels.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product >= 0 ? product + denominator / 2 : product - denominator / 2) /
                            denominator);
}

// Puts a template's items into a combo box or list box, sorted when the template says so;
// the box remembers it, so items added later keep the order.
template <typename Box>
void FillList(Box* box, const ControlTemplate& control) {
    const bool sorted = (control.style & ControlTemplate::Sorted) != 0;
    QStringList items = control.items;
    if (sorted) {
        items.sort();
    }
    box->addItems(items);
    box->setProperty("pavrixSorted", sorted);
}

} // namespace

DialogControls::DialogControls(QWidget* host, NotifySink sink)
    : m_host(host), m_sink(std::move(sink)) {}

DialogControls::~DialogControls() = default;

int DialogControls::Create(const DialogTemplate& dialogTemplate) {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if ((control.style & ControlTemplate::Group) != 0) {
            m_currentGroup = -1;
        }
        QWidget* widget = MakeWidget(control);
        int group = -1;
        if (control.kind == Kind::RadioButton) {
            if (m_currentGroup < 0) {
                m_groups.push_back(new QButtonGroup(m_host));
                m_currentGroup = static_cast<int>(m_groups.size()) - 1;
            }
            group = m_currentGroup;
            m_groups[group]->addButton(static_cast<QAbstractButton*>(widget));
        }
        QRect rect = MapDialogRect(control.rect);
        if (control.kind == Kind::ComboBox) {
            rect.setHeight(widget->sizeHint().height()); // the template gives the list's height
        }
        widget->setGeometry(rect);
        widget->setEnabled((control.style & ControlTemplate::Disabled) == 0);
        widget->setVisible((control.style & ControlTemplate::Hidden) == 0);
        if (control.kind == Kind::GroupBox) {
            widget->lower();
        }
        m_controls.push_back({control.id, control.kind, widget, group});
    }
    if (dialogTemplate.size.isValid()) {
        m_host->resize(MapDialogSize(dialogTemplate.size));
    }
    return 1;
}

QWidget* DialogControls::MakeWidget(const ControlTemplate& control) {
    const int id = control.id;
    // Each signal of `sender` wired here reports one notification of this control.
    const auto reportOn = [this, id](auto* sender, auto signal, Notification code) {
        QObject::connect(sender, signal, [this, id, code] { Report(id, code); });
    };
    switch (control.kind) {
    case Kind::Static: {
        auto* label = new QLabel(LabelText(control.text), m_host);
        label->setProperty(kRawTextProperty, control.text);
        return label;
    }
    case Kind::Icon: {
        auto* label = new QLabel(m_host);
        label->setPixmap(control.icon.pixmap(32, 32));
        return label;
    }
    case Kind::PushButton:
    case Kind::DefPushButton: {
        auto* button = new QPushButton(control.text, m_host);
        button->setAutoDefault(false);
        button->setDefault(control.kind == Kind::DefPushButton);
        reportOn(button, &QPushButton::clicked, Notification::Clicked);
        return button;
    }
    case Kind::CheckBox:
    case Kind::RadioButton: {
        QAbstractButton* button = nullptr;
        if ((control.style & ControlTemplate::PushLike) != 0) {
            auto* push = new QPushButton(control.text, m_host);
            push->setAutoDefault(false);
            button = push;
        } else if (control.kind == Kind::CheckBox) {
            button = new QCheckBox(control.text, m_host);
        } else {
            button = new QRadioButton(control.text, m_host);
        }
        button->setCheckable(true);
        // Radio buttons are made exclusive by their group, not by their parent.
        button->setAutoExclusive(false);
        reportOn(button, &QAbstractButton::clicked, Notification::Clicked);
        return button;
    }
    case Kind::GroupBox:
        return new QGroupBox(control.text, m_host);
    case Kind::Edit: {
        auto* edit = new QLineEdit(control.text, m_host);
        edit->setReadOnly((control.style & ControlTemplate::ReadOnly) != 0);
        if ((control.style & ControlTemplate::Number) != 0) {
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        }
        reportOn(edit, &QLineEdit::textChanged, Notification::EditChange);
        reportOn(edit, &QLineEdit::returnPressed, Notification::EditReturn);
        return edit;
    }
    case Kind::ComboBox: {
        auto* combo = new QComboBox(m_host);
        combo->setEditable(false);
        FillList(combo, control);
        combo->setCurrentIndex(-1);
        QObject::connect(combo, &QComboBox::activated, [this, id] {
            Report(id, Notification::SelChange);
            Report(id, Notification::SelEndOk);
        });
        return combo;
    }
    case Kind::ListBox: {
        auto* list = new QListWidget(m_host);
        // Every line is one line of text: the list need not measure each one.
        list->setUniformItemSizes(true);
        FillList(list, control);
        reportOn(list, &QListWidget::currentRowChanged, Notification::SelChange);
        reportOn(list, &QListWidget::itemDoubleClicked, Notification::DoubleClicked);
        return list;
    }
    case Kind::TrackBar: {
        auto* slider = new TrackBar(m_host);
        slider->onReleasedCapture = [this, id] { Report(id, Notification::ReleasedCapture); };
        return slider;
    }
    }
    return new QWidget(m_host);
}

void DialogControls::Report(int id, Notification code) {
    if (m_quiet > 0 && code != Notification::EditChange) {
        return;
    }
    if (m_sink) {
        m_sink(id, code);
    }
}

const DialogControls::Control* DialogControls::Find(int id) const {
    if (id == -1) {
        return nullptr;
    }
    for (const Control& control : m_controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

QWidget* DialogControls::GetDlgItem(int id) const {
    const Control* control = Find(id);
    return control != nullptr ? control->widget : nullptr;
}

DialogControls::Kind DialogControls::GetKind(int id) const {
    const Control* control = Find(id);
    return control != nullptr ? control->kind : Kind::Static;
}

std::vector<int> DialogControls::GetControlIds() const {
    std::vector<int> ids;
    for (const Control& control : m_controls) {
        if (control.id == -1) {
            continue;
        }
        if (std::find(ids.begin(), ids.end(), control.id) == ids.end()) {
            ids.push_back(control.id);
        }
    }
    return ids;
}

QString DialogControls::GetDlgItemText(int id) const {
    const Control* control = Find(id);
    if (control == nullptr) {
        return {};
    }
    QWidget* widget = control->widget;
    switch (control->kind) {
    case Kind::Static:
        return widget->property(kRawTextProperty).toString();
    case Kind::Edit:
        return static_cast<QLineEdit*>(widget)->text();
    case Kind::ComboBox:
        return static_cast<QComboBox*>(widget)->currentText();
    case Kind::GroupBox:
        return static_cast<QGroupBox*>(widget)->title();
    default:
        if (IsButtonKind(control->kind)) {
            return static_cast<QAbstractButton*>(widget)->text();
        }
        return {};
    }
}

int DialogControls::SetDlgItemText(int id, const QString& text) {
    const Control* control = Find(id);
    if (control == nullptr) {
        return 0;
    }
    QWidget* widget = control->widget;
    switch (control->kind) {
    case Kind::Static:
        static_cast<QLabel*>(widget)->setText(LabelText(text));
        widget->setProperty(kRawTextProperty, text);
        return 1;
    case Kind::Edit:
        static_cast<QLineEdit*>(widget)->setText(text);
        return 1;
    case Kind::GroupBox:
        static_cast<QGroupBox*>(widget)->setTitle(text);
        return 1;
    default:
        if (IsButtonKind(control->kind)) {
            static_cast<QAbstractButton*>(widget)->setText(text);
            return 1;
        }
        return 0;
    }
}

int DialogControls::IsDlgButtonChecked(int id) const {
    const Control* control = Find(id);
    if (control == nullptr || !IsButtonKind(control->kind)) {
        return 0;
    }
    return static_cast<QAbstractButton*>(control->widget)->isChecked() ? 1 : 0;
}

int DialogControls::CheckDlgButton(int id, int check) {
    const Control* control = Find(id);
    if (control == nullptr ||
        (control->kind != Kind::CheckBox && control->kind != Kind::RadioButton)) {
        return 0;
    }
    auto* button = static_cast<QAbstractButton*>(control->widget);
    ++m_quiet;
    if (control->group >= 0 && check == 0 && button->isChecked()) {
        // An exclusive group refuses to lose its last checked button.
        QButtonGroup* group = m_groups[control->group];
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
    } else {
        button->setChecked(check != 0);
    }
    --m_quiet;
    return 1;
}

std::vector<int> DialogControls::GroupFrom(const Control& first) const {
    std::vector<int> ids;
    bool started = false;
    for (const Control& control : m_controls) {
        if (&control == &first) {
            started = true;
        }
        if (started && control.kind == Kind::RadioButton && control.group == first.group) {
            ids.push_back(control.id);
        }
    }
    return ids;
}

int DialogControls::GetRadioIndex(int firstId) const {
    const Control* first = Find(firstId);
    if (first == nullptr || first->kind != Kind::RadioButton) {
        return -1;
    }
    const std::vector<int> ids = GroupFrom(*first);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (IsDlgButtonChecked(ids[i]) != 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int DialogControls::SetRadioIndex(int firstId, int index) {
    const Control* first = Find(firstId);
    if (first == nullptr || first->kind != Kind::RadioButton) {
        return 0;
    }
    const std::vector<int> ids = GroupFrom(*first);
    if (index < -1 || index >= static_cast<int>(ids.size())) {
        return 0;
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (static_cast<int>(i) != index) {
            CheckDlgButton(ids[i], 0);
        }
    }
    if (index >= 0) {
        CheckDlgButton(ids[index], 1);
    }
    return 1;
}

int DialogControls::EnableDlgItem(int id, bool enable) {
    QWidget* widget = GetDlgItem(id);
    if (widget == nullptr) {
        return 0;
    }
    widget->setEnabled(enable);
    return 1;
}

int DialogControls::IsDlgItemEnabled(int id) const {
    QWidget* widget = GetDlgItem(id);
    return widget != nullptr && widget->isEnabled() ? 1 : 0;
}

int DialogControls::GetCurSel(int id) const {
    const Control* control = Find(id);
    if (control == nullptr) {
        return -1;
    }
    if (control->kind == Kind::ComboBox) {
        return static_cast<QComboBox*>(control->widget)->currentIndex();
    }
    if (control->kind == Kind::ListBox) {
        return static_cast<QListWidget*>(control->widget)->currentRow();
    }
    return -1;
}

int DialogControls::SetCurSel(int id, int index) {
    const Control* control = Find(id);
    if (control == nullptr || index < -1 || index >= GetCount(id)) {
        return -1;
    }
    ++m_quiet;
    if (control->kind == Kind::ComboBox) {
        static_cast<QComboBox*>(control->widget)->setCurrentIndex(index);
    } else if (control->kind == Kind::ListBox) {
        static_cast<QListWidget*>(control->widget)->setCurrentRow(index);
    }
    --m_quiet;
    return index;
}

int DialogControls::AddString(int id, const QString& text) {
    const Control* control = Find(id);
    if (control == nullptr) {
        return -1;
    }
    const bool sorted = control->widget->property("pavrixSorted").toBool();
    ++m_quiet;
    int index = -1;
    if (control->kind == Kind::ComboBox) {
        auto* combo = static_cast<QComboBox*>(control->widget);
        index = combo->count();
        if (sorted) {
            for (int i = 0; i < combo->count(); ++i) {
                if (QString::compare(text, combo->itemText(i), Qt::CaseSensitive) < 0) {
                    index = i;
                    break;
                }
            }
        }
        combo->insertItem(index, text);
    } else if (control->kind == Kind::ListBox) {
        auto* list = static_cast<QListWidget*>(control->widget);
        index = list->count();
        if (sorted) {
            for (int i = 0; i < list->count(); ++i) {
                if (QString::compare(text, list->item(i)->text(), Qt::CaseSensitive) < 0) {
                    index = i;
                    break;
                }
            }
        }
        list->insertItem(index, text);
    }
    --m_quiet;
    return index;
}

int DialogControls::DeleteString(int id, int index) {
    const Control* control = Find(id);
    if (control == nullptr || index < 0 || index >= GetCount(id)) {
        return -1;
    }
    ++m_quiet;
    if (control->kind == Kind::ComboBox) {
        static_cast<QComboBox*>(control->widget)->removeItem(index);
    } else {
        delete static_cast<QListWidget*>(control->widget)->takeItem(index);
    }
    --m_quiet;
    return GetCount(id);
}

int DialogControls::ResetContent(int id) {
    const Control* control = Find(id);
    if (control == nullptr) {
        return 0;
    }
    ++m_quiet;
    int done = 1;
    if (control->kind == Kind::ComboBox) {
        static_cast<QComboBox*>(control->widget)->clear();
    } else if (control->kind == Kind::ListBox) {
        static_cast<QListWidget*>(control->widget)->clear();
    } else {
        done = 0;
    }
    --m_quiet;
    return done;
}

int DialogControls::AddStrings(int id, const QStringList& texts) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != Kind::ListBox ||
        control->widget->property("pavrixSorted").toBool()) {
        return -1;
    }
    auto* list = static_cast<QListWidget*>(control->widget);
    ++m_quiet;
    list->addItems(texts);
    --m_quiet;
    return list->count();
}

QWidget* DialogControls::GetControlAt(int index) const {
    if (index < 0 || index >= GetControlCount()) {
        return nullptr;
    }
    return m_controls[static_cast<std::size_t>(index)].widget;
}

int DialogControls::GetCount(int id) const {
    const Control* control = Find(id);
    if (control == nullptr) {
        return 0;
    }
    if (control->kind == Kind::ComboBox) {
        return static_cast<QComboBox*>(control->widget)->count();
    }
    if (control->kind == Kind::ListBox) {
        return static_cast<QListWidget*>(control->widget)->count();
    }
    return 0;
}

QString DialogControls::GetLBText(int id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || index < 0 || index >= GetCount(id)) {
        return {};
    }
    if (control->kind == Kind::ComboBox) {
        return static_cast<QComboBox*>(control->widget)->itemText(index);
    }
    return static_cast<QListWidget*>(control->widget)->item(index)->text();
}

int DialogControls::ClickButton(int id) {
    const Control* control = Find(id);
    if (control == nullptr || !IsButtonKind(control->kind) || !control->widget->isEnabled()) {
        return 0;
    }
    static_cast<QAbstractButton*>(control->widget)->click();
    return 1;
}

QRect DialogControls::MapDialogRect(const QRect& rect) const {
    const QFontMetrics metrics(m_host->font());
    const int baseX = (metrics.horizontalAdvance(
                           QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                           26 +
                       1) /
                      2;
    const int baseY = metrics.height();
    return QRect(MulDiv(rect.x(), baseX, 4), MulDiv(rect.y(), baseY, 8),
                 MulDiv(rect.width(), baseX, 4), MulDiv(rect.height(), baseY, 8));
}

QSize DialogControls::MapDialogSize(const QSize& size) const {
    return MapDialogRect(QRect(QPoint(0, 0), size)).size();
}

} // namespace framework
