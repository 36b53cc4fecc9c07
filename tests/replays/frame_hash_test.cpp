// Every frame of the shipped recorded drives, with the menus before and the result screen
// after each, hashed over the window's area and compared with frame_hashes.txt beside this
// file: whatever the drawing code does to be faster, the player must see the same pixels.
//
// When a picture, a course, a recorded drive or a drawing rule changes on purpose, record the
// hashes again from the build folder (it rewrites frame_hashes.txt in the source tree):
//
//   QUONFEL_RECORD_FRAME_HASHES=1 tests/test_replays --gtest_filter='*FrameHashes*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "records/score_table.h"
#include "replays/drive_keys.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
// Frames are compared in blocks, so a difference is reported with the frames it lies in.
constexpr long kFramesPerBlock = 100;

const std::string kHashFile = std::string(QUONFEL_SOURCE_DIR) + "/tests/replays/frame_hashes.txt";

bool Recording() { return std::getenv("QUONFEL_RECORD_FRAME_HASHES") != nullptr; }

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

// An FNV-1a step with the high half folded back into the low one: a product's low bits never
// depend on its high bits, so without the fold a changed bit high in one pair of pixels could
// be cancelled by another.
std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
    const std::uint64_t product = (hash ^ value) * kFnvPrime;
    return product ^ (product >> 32);
}

// FNV-1a over the window's part of offscreen, two pixels at a time in four interleaved lanes
// (one chain of multiplications would make the test several seconds slower).
std::uint64_t WindowAreaHash() {
    const Surface& screen = *offscreen;
    std::uint64_t lanes[4] = {kFnvOffset, kFnvOffset + 1, kFnvOffset + 2, kFnvOffset + 3};
    for (int y = 0; y < kWindowHeight; ++y) {
        const std::uint32_t* row = screen.Pixels() + (WindowOrigin.y + y) * screen.PitchInPixels() + WindowOrigin.x;
        for (int x = 0; x < kWindowWidth; x += 8) {
            for (int lane = 0; lane < 4; ++lane) {
                const std::uint32_t* pair = row + x + 2 * lane;
                const std::uint64_t colours = (std::uint64_t{pair[0]} << 32 | pair[1]) & 0x00FFFFFF00FFFFFFull;
                lanes[lane] = Mix(lanes[lane], colours);
            }
        }
    }
    return Mix(Mix(Mix(lanes[0], lanes[1]), lanes[2]), lanes[3]);
}

struct Block {
    long firstFrame;
    long frames;
    std::uint64_t hash;
};

// "frames 200 to 299: 3fa0..." as the failure message shows it.
std::string Describe(const Block& block) {
    return "frames " + std::to_string(block.firstFrame) + " to " +
           std::to_string(block.firstFrame + block.frames - 1) + ": " + HashText(block.hash);
}

std::vector<Block> ToBlocks(const std::vector<std::uint64_t>& frameHashes) {
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < frameHashes.size(); ++i) {
        if (i % kFramesPerBlock == 0) blocks.push_back({static_cast<long>(i), 0, kFnvOffset});
        Block& block = blocks.back();
        block.hash = Mix(block.hash, frameHashes[i]);
        ++block.frames;
    }
    return blocks;
}

// The course menu with every earlier course cleared, the bus menu of the course (cleared
// too, with a long best time), the recorded drive with the standard bus, the result screen,
// and the course menu again with the new best time.
std::vector<std::uint64_t> ShownFrames(int course) {
    ScopedWorkDir dir;
    LinkGameData();
    std::vector<std::uint64_t> hashes;
    FakeClock clock;
    clock.wallSeconds = kReplayFirstSecond;
    MessageBoxRecorder boxes;
    HeadlessGame game;
    if (!game.Start()) {
        ADD_FAILURE() << "the game could not start with the pictures of " << QUONFEL_GAME_DIR;
        return hashes;
    }
    for (int c = 0; c < course; ++c) scoreTable->Current(c) = {c, Completed, 61 * (c + 1)};
    scoreTable->Current(course) = {course, Completed, 3723};
    const auto frame = [&] {
        game.Frame();
        hashes.push_back(WindowAreaHash());
    };

    frame();
    for (int row = 0; row < course; ++row) game.Press(VK_DOWN);
    frame();
    game.Press(VK_RETURN);
    frame();
    game.Press(VK_DOWN);
    frame();
    game.Press(VK_UP);
    game.Press(VK_RETURN);
    PlayDrive(game, clock, RecordedDrive(course), [&] { hashes.push_back(WindowAreaHash()); });
    frame();
    frame();
    game.Press(VK_RETURN);
    frame();
    EXPECT_TRUE(boxes.boxes.empty());
    return hashes;
}

std::map<int, std::vector<Block>> ReadHashFile() {
    std::map<int, std::vector<Block>> blocks;
    std::ifstream in(kHashFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int course = 0;
        Block block{};
        fields >> course >> block.firstFrame >> block.frames >> std::hex >> block.hash;
        if (fields) blocks[course].push_back(block);
    }
    return blocks;
}

// Replaces the lines of one course, so each course can be recorded on its own.
void RecordCourse(int course, const std::vector<Block>& recorded) {
    std::map<int, std::vector<Block>> blocks = ReadHashFile();
    blocks[course] = recorded;
    std::ofstream out(kHashFile, std::ios::trunc);
    out << "# Window-area hashes of the recorded drives' frames: course, first frame, frames, hash.\n"
           "# Written by QUONFEL_RECORD_FRAME_HASHES=1 tests/test_replays --gtest_filter='*FrameHashes*'\n";
    for (const auto& [number, list] : blocks) {
        for (const Block& block : list)
            out << number << ' ' << block.firstFrame << ' ' << block.frames << ' ' << HashText(block.hash) << '\n';
    }
}

class FrameHashes : public testing::TestWithParam<int> {};

TEST_P(FrameHashes, EveryFrameLooksAsRecorded) {
    const int course = GetParam();
    const std::vector<Block> shown = ToBlocks(ShownFrames(course));
    ASSERT_FALSE(shown.empty());
    if (Recording()) {
        RecordCourse(course, shown);
        return;
    }
    const std::vector<Block> expected = ReadHashFile()[course];
    ASSERT_FALSE(expected.empty()) << "no hashes for course " << course << " in " << kHashFile;
    for (std::size_t i = 0; i < shown.size() && i < expected.size(); ++i)
        ASSERT_EQ(Describe(shown[i]), Describe(expected[i])) << "course " << course << ": the first frames that differ";
    EXPECT_EQ(shown.size(), expected.size()) << "course " << course << " showed a different number of frames";
}

INSTANTIATE_TEST_SUITE_P(AllCourses, FrameHashes, testing::Range(0, 11));

}  // namespace
