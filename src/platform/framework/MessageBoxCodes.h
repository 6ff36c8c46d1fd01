#pragma once

/// Message-box styles and results with the numbers of the platform the program's texts
/// were written for, so that code and tests can speak of "style 36" and "answer 6".
namespace framework {

// Button sets (low four bits of the style).
constexpr unsigned MbOk = 0x00;
constexpr unsigned MbOkCancel = 0x01;
constexpr unsigned MbYesNoCancel = 0x03;
constexpr unsigned MbYesNo = 0x04;
constexpr unsigned MbTypeMask = 0x0F;

// Icons (bits 4 to 7).
constexpr unsigned MbIconStop = 0x10;
constexpr unsigned MbIconQuestion = 0x20;
constexpr unsigned MbIconExclamation = 0x30;
constexpr unsigned MbIconInformation = 0x40;
constexpr unsigned MbIconMask = 0xF0;

// Results.
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;

} // namespace framework
