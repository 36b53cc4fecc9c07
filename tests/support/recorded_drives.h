// The recorded drives of the shipped courses, for the tests that link the map tool's drive
// library.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "maptool/drive_keys.h"
#include "support/test_support.h"

// The key presses of replays/N.keys; a file that cannot be read or parsed fails the test.
inline std::vector<KeyPress> RecordedDrive(int course) {
    const std::string path = std::string(QUONFEL_SOURCE_DIR) + "/replays/" + std::to_string(course) + ".keys";
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::vector<KeyPress> presses;
    std::string error;
    EXPECT_FALSE(bytes.empty()) << path;
    EXPECT_TRUE(ParseDrive(std::string(bytes.begin(), bytes.end()), presses, error)) << path << ": " << error;
    return presses;
}
