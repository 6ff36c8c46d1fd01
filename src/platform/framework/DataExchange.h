#pragma once

#include <functional>
#include <vector>

#include <QString>

namespace framework {

class DialogControls;

/// One exchange between a dialog's controls and its fields, in one direction.
///
/// Loading (`IsSaving()` 0) writes the fields into the controls: ints with "%d", floats
/// with "%.*g" and 6 significant digits (1.0 shows "1"), doubles with 15.
/// Saving (`IsSaving()` 1) reads the controls. A text field must hold a number: optional
/// blanks, an optional sign, decimal digits with an optional point and exponent, optional
/// blanks — and the value must fit the field. Otherwise the application's message box
/// shows "数字を入力してください。" (float and double fields) or "整数を入力してください。"
/// (int fields), the control gets the focus with its text selected, the exchange fails
/// and the fields after it are not read.
///
/// Values read are held back until `Commit`: a failed exchange stores nothing, so a
/// dialog whose OK was refused keeps every field as it was.
class DataExchange {
public:
    DataExchange(DialogControls& controls, int saveAndValidate);

    int IsSaving() const { return m_saving; }
    /// 1 once a field was refused.
    int Failed() const { return m_failedId != kNone ? 1 : 0; }
    /// The control that was refused (-2 when none).
    int GetFailedId() const { return m_failedId; }

    void Text(int id, int& value);
    void Text(int id, float& value);
    void Text(int id, double& value);
    void Text(int id, QString& value);
    /// Check box: 1 checked, 0 not.
    void Check(int id, int& value);
    /// Radio group starting at `firstId`: the index of the checked button, -1 for none.
    void Radio(int firstId, int& value);
    /// Combo or list box: the selected index, -1 for none.
    void ComboIndex(int id, int& index);

    /// Saving: stores the values read into the fields, unless the exchange failed.
    /// Returns 1 when stored (or when loading), 0 after a failure.
    int Commit();

    /// "%.*g" with `digits` significant digits, independent of the locale.
    static QString FormatReal(double value, int digits);
    /// Reads a whole decimal number. 1 on success.
    static int ParseInt(const QString& text, int* value);
    /// Reads a finite decimal number. 1 on success.
    static int ParseReal(const QString& text, double* value);

private:
    static constexpr int kNone = -2;

    bool Skipping() const { return m_failedId != kNone; }
    /// One field: loading shows `value` through show; saving takes what read returns (it
    /// fails the exchange and returns nothing when the control's text does not parse) and
    /// stores it when the whole exchange succeeds.
    template <typename T, typename Show, typename Read>
    void Exchange(T& value, Show show, Read read);
    /// A float or double field shown with `digits` significant digits.
    template <typename Real>
    void RealText(int id, Real& value, int digits);
    void Fail(int id, const QString& message);

    DialogControls& m_controls;
    int m_saving;
    int m_failedId = kNone;
    std::vector<std::function<void()>> m_pending;
};

} // namespace framework
