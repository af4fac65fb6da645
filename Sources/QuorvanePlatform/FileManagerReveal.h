#pragma once

#include <QStringList>

namespace quorvane {

// Shows the files selected in the desktop's file manager (FileManager1.ShowItems on the
// session bus). Without a file manager that answers, the folder holding the first file is
// opened with the default handler instead.
void revealInFileManager(const QStringList &paths);

} // namespace quorvane
