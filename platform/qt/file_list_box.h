// The file list box: the names of the files in one folder that match a pattern, in ascending name
// order, such as the set files "SET*.TXT" or the kind files "HISYU1*.TXT" of the data folder.
//
// A pattern holds "*" (any run of characters) and "?" (any one character); several patterns are
// separated by ";". Names match without regard to the letter case of ASCII letters, since the
// system names one file "SET00001.TXT" and another "set00002.txt". Only ordinary files are
// listed: no folders, and no hidden files (names beginning with ".", such as the lock files).
#pragma once

#include "platform/qt/list_box.h"

#include <string>
#include <string_view>
#include <vector>

namespace qd::qt {

// Whether a file name matches the pattern (or one of the ";"-separated patterns).
bool fileNameMatches(std::string_view name, std::string_view pattern);
// The names (without folder) of the files in the folder (a system path) that match the pattern,
// ascending in the order of the sorted lists. A missing folder lists nothing.
std::vector<std::string> filesInFolder(std::string_view folder, std::string_view pattern);

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
