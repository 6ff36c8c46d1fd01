#include "platform/framework/DataExchange.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include <QLineEdit>
#include <QWidget>

#include "platform/framework/DialogControls.h"
#include "platform/framework/FrameworkStrings.h"
#include "platform/framework/UiServices.h"

namespace framework {

namespace {

// The text without surrounding blanks and without a leading '+', which from_chars does
// not take; empty when nothing is left.
std::string NumberPart(const QString& text) {
    std::string bytes = text.trimmed().toStdString();
    if (!bytes.empty() && bytes.front() == '+') {
        bytes.erase(0, 1);
        // One sign only: "+-1" and "++1" are not numbers.
        if (!bytes.empty() && (bytes.front() == '+' || bytes.front() == '-')) {
            return {};
        }
    }
    return bytes;
}

bool IsDecimal(const std::string& bytes) {
    // from_chars also reads "inf", "nan" and hexadecimal forms; a person typing into a
    // number field means none of them.
    for (char c : bytes) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (!allowed) {
            return false;
        }
    }
    return !bytes.empty();
}

} // namespace

DataExchange::DataExchange(DialogControls& controls, int saveAndValidate)
    : m_controls(controls), m_saving(saveAndValidate != 0 ? 1 : 0) {}

QString DataExchange::FormatReal(double value, int digits) {
    return QString::asprintf("%.*g", digits, value);
}

int DataExchange::ParseInt(const QString& text, int* value) {
    const std::string bytes = NumberPart(text);
    if (bytes.empty()) {
        return 0;
    }
    long long parsed = 0;
    const char* end = bytes.data() + bytes.size();
    const auto [ptr, error] = std::from_chars(bytes.data(), end, parsed);
    if (error != std::errc() || ptr != end || parsed < INT_MIN || parsed > INT_MAX) {
        return 0;
    }
    *value = static_cast<int>(parsed);
    return 1;
}

int DataExchange::ParseReal(const QString& text, double* value) {
    const std::string bytes = NumberPart(text);
    if (!IsDecimal(bytes)) {
        return 0;
    }
    double parsed = 0;
    const char* end = bytes.data() + bytes.size();
    const auto [ptr, error] = std::from_chars(bytes.data(), end, parsed);
    if (error != std::errc() || ptr != end || !std::isfinite(parsed)) {
        return 0;
    }
    *value = parsed;
    return 1;
}

void DataExchange::Fail(int id, const QString& message) {
    m_failedId = id;
    UiServices::AppMessageBox(message);
    QWidget* control = m_controls.GetDlgItem(id);
    if (control != nullptr) {
        control->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->selectAll();
        }
    }
}

template <typename T, typename Show, typename Read>
void DataExchange::Exchange(T& value, Show show, Read read) {
    if (Skipping()) {
        return;
    }
    if (!m_saving) {
        show(value);
        return;
    }
    const std::optional<T> got = read();
    if (got) {
        m_pending.push_back([&value, stored = *got] { value = stored; });
    }
}

void DataExchange::Text(int id, int& value) {
    Exchange(
        value, [&](int v) { m_controls.SetDlgItemText(id, QString::number(v)); },
        [&]() -> std::optional<int> {
            int parsed = 0;
            if (!ParseInt(m_controls.GetDlgItemText(id), &parsed)) {
                Fail(id, strings::ParseInt());
                return std::nullopt;
            }
            return parsed;
        });
}

template <typename Real>
void DataExchange::RealText(int id, Real& value, int digits) {
    Exchange(
        value, [&](Real v) { m_controls.SetDlgItemText(id, FormatReal(v, digits)); },
        [&]() -> std::optional<Real> {
            double parsed = 0;
            // A float field also refuses what a float cannot hold.
            if (!ParseReal(m_controls.GetDlgItemText(id), &parsed) ||
                std::fabs(parsed) > std::numeric_limits<Real>::max()) {
                Fail(id, strings::ParseReal());
                return std::nullopt;
            }
            return static_cast<Real>(parsed);
        });
}

void DataExchange::Text(int id, float& value) {
    RealText(id, value, FLT_DIG);
}

void DataExchange::Text(int id, double& value) {
    RealText(id, value, DBL_DIG);
}

void DataExchange::Text(int id, QString& value) {
    Exchange(
        value, [&](const QString& v) { m_controls.SetDlgItemText(id, v); },
        [&] { return std::optional<QString>(m_controls.GetDlgItemText(id)); });
}

void DataExchange::Check(int id, int& value) {
    Exchange(
        value, [&](int v) { m_controls.CheckDlgButton(id, v); },
        [&] { return std::optional<int>(m_controls.IsDlgButtonChecked(id)); });
}

void DataExchange::Radio(int firstId, int& value) {
    Exchange(
        value, [&](int v) { m_controls.SetRadioIndex(firstId, v); },
        [&] { return std::optional<int>(m_controls.GetRadioIndex(firstId)); });
}

void DataExchange::ComboIndex(int id, int& index) {
    Exchange(
        index, [&](int v) { m_controls.SetCurSel(id, v); },
        [&] { return std::optional<int>(m_controls.GetCurSel(id)); });
}

int DataExchange::Commit() {
    if (Failed()) {
        return 0;
    }
    for (const std::function<void()>& store : m_pending) {
        store();
    }
    m_pending.clear();
    return 1;
}

} // namespace framework
