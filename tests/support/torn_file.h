// A master whose last record was cut short, as a copy broken off or a full disk leaves one, and
// what every program says when it meets it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace qd::testing {

// Cuts the file's last record: its whole records of `length` bytes stay and the first `extra`
// bytes of its first record follow them (the file must hold one). Returns the bytes written.
std::string tearLastRecord(const std::filesystem::path &file, std::int32_t length, std::size_t extra = 10);

// Whether a message names the file, that it ends in a part of a record and its size: the bytes,
// the whole records of `length` and the bytes after them ("大きさ 2,314 バイト：128 バイトの
// レコード 18 件と 10 バイト").
::testing::AssertionResult tellsOfTornFile(const std::string &message, const std::filesystem::path &file,
                                           std::int32_t length);

} // namespace qd::testing
