#include "platform/qt/file_list_box.h"

#include "platform/files/folder_files.h"

namespace qd::qt {

FileListBox::FileListBox(QWidget *parent) : ListBox(parent) {}

void FileListBox::setPath(const QString &folder)
{
    m_path = folder;
    refresh();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

void FileListBox::refresh()
{
    clearLines();
    if (m_path.isEmpty())
        return;
    std::vector<ListBoxLine> lines;
    for (const std::string &name : qd::files::filesInFolder(m_path.toStdString(), m_pattern.toStdString()))
        lines.push_back({QString::fromStdString(name), {}});
    addLines(lines);
}

} // namespace qd::qt
