#pragma once

#include <QString>
#include <QStringList>

/// The program's manual page, "Manual.htm", as the Help menu shows it.
namespace manual_page {

/// From the working directory, else from the folder of the program, else where an
/// installation puts it (../share/doc/pavrix/ from the program's folder); empty when none
/// has one.
QString Find();
/// Where `Find` looks, in order.
QStringList Places();
/// What the user is told when no place has the page: the places looked in.
QString MissingMessage();
/// What the user is told when no viewer takes the page at `path`.
QString NoViewerMessage(const QString& path);
/// The caption of that message.
QString Caption();

} // namespace manual_page
