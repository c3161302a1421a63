// The files of a folder that match a pattern, as the file lists of the set, kind and CSV tools
// and the set list show them.
#include "platform/files/folder_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_install.h"

using namespace qd::files;

TEST(FolderFiles, MatchingFilesInAscendingNameOrderAnyLetterCaseNoFoldersNoHiddenFiles)
{
    struct Case {
        const char *name, *pattern;
        bool match;
    } const cases[] = {
        {"SET00001.TXT", "SET*.TXT", true}, {"set00002.txt", "SET*.TXT", true}, {"SET1.CSV", "SET*.TXT", false},
        {"HISYU101.TXT", "HISYU1*.TXT", true}, {"品種101.CSV", "品種1*.CSV", true}, {"品種201.CSV", "品種1*.CSV", false},
        {"A.TXT", "?.TXT", true},           {"亜.TXT", "?.TXT", true},          {"AB.TXT", "?.TXT", false},
        {"README", "*.*", true},            {"x.csv", "*.txt;*.CSV", true},     {"SET.TXT.BAK", "SET*.TXT", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(fileNameMatches(c.name, c.pattern), c.match) << c.name << " " << c.pattern;

    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    const std::filesystem::path data = inst.data();
    for (const char *f : {"set00010.txt", "SET00002.TXT", "SET00001.TXT", ".set00003.txt.lock", "MAKER.TXT"})
        qd::testing::writeBytes(data / f, "x");
    std::filesystem::create_directories(data / "SET00009.TXT"); // a folder, not a file
    const std::string folder = inst.dir() + "\\data\\";
    EXPECT_EQ(filesInFolder(folder, "SET*.TXT"), (std::vector<std::string>{"SET00001.TXT", "SET00002.TXT", "set00010.txt"}));
    EXPECT_TRUE(filesInFolder(inst.dir() + "\\nothing", "*.*").empty());
}
