// The command line's watch options.
#include <gtest/gtest.h>

#include <vector>

#include "app/watch_options.h"

namespace {

bool Parse(std::vector<const char*> arguments, WatchRequest& request, std::string& error) {
    arguments.insert(arguments.begin(), "quonfel");
    return ParseWatchOptions(static_cast<int>(arguments.size()), arguments.data(), request, error);
}

TEST(WatchOptions, NameAKeyFileOrACourse) {
    WatchRequest request;
    std::string error;
    ASSERT_TRUE(Parse({"--watch", "my drive.keys"}, request, error));
    EXPECT_EQ(request.kind, WatchRequest::File);
    EXPECT_EQ(request.file, "my drive.keys");
    ASSERT_TRUE(Parse({"--scale", "2", "--watch-best=11"}, request, error));
    EXPECT_EQ(request.kind, WatchRequest::Best);
    EXPECT_EQ(request.course, 11);
    ASSERT_TRUE(Parse({"--watch=-odd name"}, request, error));
    EXPECT_EQ(request.file, "-odd name");
    ASSERT_TRUE(Parse({}, request, error));
    EXPECT_EQ(request.kind, WatchRequest::None);
}

TEST(WatchOptions, WrongValuesAreRefused) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--watch"}, "--watch takes a key file"},
        {{"--watch="}, "--watch takes a key file"},
        {{"--watch-best"}, "--watch-best takes a course number from 0 to 11"},
        {{"--watch-best", "12"}, "--watch-best takes a course number from 0 to 11"},
        {{"--watch-best", "-1"}, "--watch-best takes a course number from 0 to 11"},
        {{"--watch-best", "x"}, "--watch-best takes a course number from 0 to 11"},
        {{"--watch-best", "3", "--watch", "a.keys"}, "watch one drive at a time"},
    };
    for (const auto& [arguments, message] : cases) {
        WatchRequest request;
        std::string error;
        EXPECT_FALSE(Parse(arguments, request, error)) << arguments.size();
        EXPECT_EQ(error, message);
    }
}

}  // namespace
