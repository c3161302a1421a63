#include "tests/support/torn_file.h"

#include "platform/text/numbers.h"
#include "tests/support/temp_install.h"

namespace qd::testing {

std::string tearLastRecord(const std::filesystem::path &file, std::int32_t length, std::size_t extra)
{
    const std::string bytes = readBytes(file);
    const std::size_t whole = bytes.size() / static_cast<std::size_t>(length) * static_cast<std::size_t>(length);
    const std::string torn = bytes.substr(0, whole) + bytes.substr(0, extra);
    writeBytes(file, torn);
    return torn;
}

::testing::AssertionResult tellsOfTornFile(const std::string &message, const std::filesystem::path &file,
                                           std::int32_t length)
{
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(file));
    const auto number = [](std::int64_t n) { return qd::text::format(n, "#,##0"); };
    const std::string expected[] = {
        file.filename().string(),
        "最後のレコードが途中で切れています",
        "大きさ " + number(size) + " バイト：" + number(length) + " バイトのレコード " + number(size / length) + " 件と " +
            number(size % length) + " バイト",
    };
    for (const std::string &part : expected)
        if (message.find(part) == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << message << "\" does not say \"" << part << "\"";
    return ::testing::AssertionSuccess();
}

} // namespace qd::testing
