// The file list box: the names of the files in one folder that match a pattern, in ascending name
// order, such as the set files "SET*.TXT" or the kind files "HISYU1*.TXT" of the data folder.
// Which names match, in which order, and which files are left out: platform/files/folder_files.h.
#pragma once

#include "platform/qt/list_box.h"

namespace qd::qt {

class FileListBox : public ListBox {
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    // Setting the folder (a system path) or the pattern lists the folder again.
    void setPath(const QString &folder);
    QString path() const { return m_path; }
    void setPattern(const QString &pattern);
    QString pattern() const { return m_pattern; }
    // Lists the folder again; the choice is cleared.
    void refresh();
    // The name of the chosen file; empty when none is chosen.
    QString fileName() const { return lineText(listIndex()); }

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace qd::qt
