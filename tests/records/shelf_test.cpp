// The shelf of the player's own courses and their best times.
#include "records/shelf.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

std::string SourceCourse(int number) { return ReadText(std::string(QUONFEL_SOURCE_DIR) + "/courses/" + std::to_string(number) + ".txt"); }
const std::string kCourseA = "# name: 坂道 A\n" + SourceCourse(0);
const std::string kCourseB = SourceCourse(1);

TEST(Shelf, CoursesArePutOnItOnceAndNeverWrittenOver) {
    ScopedWorkDir dir;
    std::string why;
    struct Put {
        std::string bytes, fileName, path;
    };
    const Put puts[] = {
        {kCourseA, "/somewhere/hill.txt", "courses/hill.txt"},
        {kCourseA, "other-name.txt", "courses/hill.txt"},  // same content: already there
        {kCourseB, "maps/hill.txt", "courses/hill-2.txt"},  // a name clash gets a free name
        {kCourseB + "\n", "hill.txt", "courses/hill-3.txt"},
        {kCourseB, "..", "courses/hill-2.txt"},
        {kCourseB + "\n\n", ".hidden", "courses/course.hidden"},
    };
    for (const Put& put : puts) EXPECT_EQ(PutCourseOnShelf(put.bytes, put.fileName, &why), put.path) << put.fileName;
    EXPECT_EQ(ReadText("courses/hill.txt"), kCourseA);
    EXPECT_EQ(ReadText("courses/hill-2.txt"), kCourseB);
}

TEST(Shelf, ListsThePlayableCoursesByNameWithTheirTimes) {
    ScopedWorkDir dir;
    // Without its folder it is empty, and looking writes nothing.
    EXPECT_FALSE(ShelfHoldsACourse());
    EXPECT_TRUE(ListShelf().empty());
    EXPECT_TRUE(ReadShelfTimes().empty());
    EXPECT_TRUE(fs::is_empty("."));
    fs::create_directory("courses");
    WriteText("courses/zeta.txt", kCourseB);
    WriteText("courses/alpha.txt", kCourseA);       // named 坂道 A by its line
    WriteText("courses/broken.txt", "|^ ?? \n");     // no course
    WriteText("courses/.hidden.txt", kCourseB);
    WriteText("courses/zeta.txt.tmp-123", kCourseB);  // a save's temporary file
    RecordShelfTime(0x1234, 1);  // another course's, the shortest time there is, which stays
    std::vector<ShelfCourse> shelf = ListShelf();
    ASSERT_EQ(shelf.size(), 2u);
    EXPECT_EQ(shelf[0].name, "zeta.txt");
    EXPECT_EQ(shelf[1].name, "坂道 A");
    EXPECT_EQ(shelf[0].bestTime, 0);

    // Better times win, under any name of the same course.
    EXPECT_TRUE(RecordShelfTime(shelf[0].hash, 80));
    EXPECT_FALSE(RecordShelfTime(shelf[0].hash, 80));
    EXPECT_FALSE(RecordShelfTime(shelf[0].hash, 95));
    EXPECT_TRUE(RecordShelfTime(shelf[0].hash, 70));
    fs::rename("courses/zeta.txt", "courses/renamed.txt");
    shelf = ListShelf();
    EXPECT_EQ(shelf[0].name, "renamed.txt");
    EXPECT_EQ(shelf[0].bestTime, 70);
    EXPECT_EQ(shelf[1].bestTime, 0);
    EXPECT_EQ(ReadShelfTimes().at(0x1234), 1);
    EXPECT_EQ(ShelfBestDriveFile(0xab), "best-00000000000000ab.keys");

    // A long name is cut at the start of a character.
    std::string name;
    for (int i = 0; i < 1000; ++i) name += "あ";
    WriteText("courses/renamed.txt", "# name: " + name + "\n" + kCourseB);
    shelf = ListShelf();
    ASSERT_EQ(shelf.size(), 2u);
    EXPECT_EQ(shelf[0].name, name.substr(0, 159));  // 53 whole characters
}

}  // namespace
