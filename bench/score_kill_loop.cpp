// Two games saving score.dat in one folder over and over, killed at random moments: after each
// kill the file must hold one whole table (never cut, empty or mixed), and the merge must never
// have lost a lower best time or a completed course. Prints the figures; ends with status 1 when
// any kill lost something. --shelf does the same with the best times of the shelf's courses
// (shelf-times.txt): a time both games lower, and one course of each game's own that must stay.
//
//   bench_score_kill_loop [ROUNDS] [--shelf] [--hard-link]
//       (default 300 rounds; --hard-link gives the file a second name, so it is rewritten in
//       place)
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/file_save.h"
#include "records/score_table.h"
#include "records/shelf.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kFirstBestTime = 0x0A0A0A0B;

// Each save lowers every best time, by turns by 1 and by 255, so that the stored table grows
// and shrinks (low byte 0x0A, then 0x0B) from one save to the next.
std::int32_t NextBestTime(std::int32_t t) { return (t & 0xFF) == 0x0B ? t - 1 : t - 255; }

// A game that completes its own course and saves lower and lower times until it is killed. It
// reads the table, says so on `loaded`, and starts saving when `go` says so: the second game
// read the table before the first one saved, and must lose none of its lower times and course.
[[noreturn]] void SaveForEver(int ownCourse, int loaded, int go) {
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 2);
    ScoreTable table;
    table.Load();
    char byte = 0;
    if (write(loaded, &byte, 1) != 1 || read(go, &byte, 1) != 1) _exit(2);
    table.Current(ownCourse).courseState = Completed;
    for (;;) {
        const std::int32_t next = NextBestTime(table.Current(0).bestTime);
        for (CourseRecord& record : table.records[0]) record.bestTime = next;
        table.Save();
    }
}

struct Figures {
    int rounds = 0, kills = 0, temporaryLeft = 0;
    int whole = 0, empty = 0, cut = 0, mixed = 0, timeLost = 0, courseLost = 0, strayFiles = 0;
};

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
        std::fclose(file);
    }
    return bytes;
}

// How a text-mode write stores a one-set table whose best times are all t.
std::vector<std::uint8_t> StoredTable(const ScoreTable& table) {
    std::vector<std::uint8_t> stored;
    auto put = [&stored](std::int32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            const auto b = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift);
            if (b == 0x0A) stored.push_back(0x0D);
            stored.push_back(b);
        }
    };
    put(1);
    put(table.setCount);
    for (const CourseRecord& record : table.records[0]) {
        put(record.course);
        put(record.courseState);
        put(record.bestTime);
    }
    return stored;
}

// Judges the file after a kill; `lowest` and `completed` carry what earlier rounds saw.
void Judge(Figures& figures, std::int32_t& lowest, bool (&completed)[3]) {
    const std::vector<std::uint8_t> bytes = FileBytes(ScoreFileName);
    if (bytes.empty()) {
        ++figures.empty;
        return;
    }
    ScoreTable table;
    table.Load();
    const std::vector<std::uint8_t> expected = StoredTable(table);
    const bool padded = bytes.size() >= expected.size() &&
                        std::all_of(bytes.begin() + static_cast<long>(expected.size()), bytes.end(),
                                    [](std::uint8_t b) { return b == 0; });
    if (table.setCount != 1 || !padded || !std::equal(expected.begin(), expected.end(), bytes.begin())) {
        ++figures.cut;
        return;
    }
    const std::int32_t t = table.Current(0).bestTime;
    const bool uniform = std::all_of(std::begin(table.records[0]), std::end(table.records[0]),
                                     [t](const CourseRecord& record) { return record.bestTime == t; });
    if (!uniform) {
        ++figures.mixed;
        return;
    }
    ++figures.whole;
    if (t > lowest) ++figures.timeLost;
    lowest = std::min(lowest, t);
    for (int course = 1; course <= 2; ++course) {
        if (completed[course] && table.Current(course).courseState != Completed) ++figures.courseLost;
        completed[course] = completed[course] || table.Current(course).courseState == Completed;
    }
}

// The shelf's file: the course both games drive, and each game's own course (its number).
constexpr std::uint64_t kSharedCourse = 0xFEEDFACECAFEBEEF;
constexpr std::int32_t kFirstShelfTime = 2000000000;

void SeedShelf() { RecordShelfTime(kSharedCourse, kFirstShelfTime); }
void SaveShelfOnce() { RecordShelfTime(kSharedCourse, 1); }

[[noreturn]] void SaveShelfForEver(int ownCourse, int loaded, int go) {
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 2);
    std::int32_t t = ReadShelfTimes()[kSharedCourse];
    char byte = 0;
    if (write(loaded, &byte, 1) != 1 || read(go, &byte, 1) != 1) _exit(2);
    for (;;) {
        RecordShelfTime(kSharedCourse, --t);
        RecordShelfTime(static_cast<std::uint64_t>(ownCourse), t);
    }
}

// Whole: the comment line, then "hash seconds" lines, each ended.
bool WholeShelfFile(const std::string& text, std::size_t& lines) {
    if (text.empty() || text[0] != '#' || text.back() != '\n') return false;
    lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return lines == ReadShelfTimes().size() + 1;
}

void JudgeShelf(Figures& figures, std::int32_t& lowest, bool (&completed)[3]) {
    const std::vector<std::uint8_t> bytes = FileBytes(ShelfTimesFileName);
    if (bytes.empty()) {
        ++figures.empty;
        return;
    }
    std::size_t lines = 0;
    const ShelfTimes times = ReadShelfTimes();
    if (!WholeShelfFile(WithoutSavePadding(std::string(bytes.begin(), bytes.end())), lines) || times.count(kSharedCourse) == 0) {
        ++figures.cut;
        return;
    }
    ++figures.whole;
    const std::int32_t t = times.at(kSharedCourse);
    if (t > lowest) ++figures.timeLost;
    lowest = std::min(lowest, t);
    for (int course = 1; course <= 2; ++course) {
        if (completed[course] && times.count(course) == 0) ++figures.courseLost;
        completed[course] = completed[course] || times.count(course) != 0;
    }
}

void SaveScoresOnce() { ScoreTable().Save(); }

void SeedScores() {
    ScoreTable first;
    for (CourseRecord& record : first.records[0]) record.bestTime = kFirstBestTime;
    first.Save();
}

// One row per file the loop can kill saves of.
struct SavedFile {
    const char* name;
    const char* option;
    std::int32_t firstTime;
    void (*seed)();      // the first content
    void (*saveOnce)();  // one more save at the end, which removes what the kills left
    void (*saveForEver)(int ownCourse, int loaded, int go);
    void (*judge)(Figures& figures, std::int32_t& lowest, bool (&completed)[3]);
};
const SavedFile kSavedFiles[] = {
    {ScoreFileName, "", kFirstBestTime, SeedScores, SaveScoresOnce, SaveForEver, Judge},
    {ShelfTimesFileName, "--shelf", kFirstShelfTime, SeedShelf, SaveShelfOnce, SaveShelfForEver, JudgeShelf},
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 300;
    bool hardLink = false;
    const SavedFile* file = &kSavedFiles[0];
    for (int i = 1; i < argc; ++i) {
        hardLink = hardLink || std::strcmp(argv[i], "--hard-link") == 0;
        if (std::strcmp(argv[i], kSavedFiles[1].option) == 0) file = &kSavedFiles[1];
    }
    std::string pattern = (fs::temp_directory_path() / "quonfel-kill-loop-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    fs::current_path(pattern);
    file->seed();
    if (hardLink) fs::create_hard_link(file->name, "backup.dat");

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> microseconds(0, 6000);
    Figures figures;
    std::int32_t lowest = file->firstTime;
    bool completed[3] = {};
    for (int round = 0; round < rounds; ++round) {
        // Both games read the table first; then one saves until it is killed, then the other.
        pid_t savers[2];
        int loaded[2][2], go[2][2];
        char byte = 0;
        for (int i = 0; i < 2; ++i) {
            if (pipe(loaded[i]) != 0 || pipe(go[i]) != 0) return 1;
            savers[i] = fork();
            if (savers[i] == 0) file->saveForEver(i + 1, loaded[i][1], go[i][0]);
            if (read(loaded[i][0], &byte, 1) != 1) return 1;
        }
        for (int i = 0; i < 2; ++i) {
            if (write(go[i][1], &byte, 1) != 1) return 1;
            usleep(static_cast<useconds_t>(microseconds(random)));
            kill(savers[i], SIGKILL);
            waitpid(savers[i], nullptr, 0);
            ++figures.kills;
            figures.temporaryLeft += fs::exists(std::string(file->name) + ".tmp-" + std::to_string(savers[i]));
            file->judge(figures, lowest, completed);
            for (int end : {loaded[i][0], loaded[i][1], go[i][0], go[i][1]}) close(end);
        }
        ++figures.rounds;
        for (const auto& entry : fs::directory_iterator(".")) {
            const std::string name = entry.path().filename().string();
            if (name != file->name && name != "backup.dat" && name.rfind(std::string(file->name) + ".tmp-", 0) != 0) ++figures.strayFiles;
        }
    }
    file->saveOnce();
    const auto left = std::distance(fs::directory_iterator("."), fs::directory_iterator());
    std::printf("%s %s: %d rounds of two games that read it before either saved, each saving until killed: %d kills (%d with a temporary file left)\n",
                file->name, hardLink ? "with a second name (rewritten in place)" : "replaced by rename", figures.rounds,
                figures.kills, figures.temporaryLeft);
    std::printf("after each kill: whole table %d, empty %d, cut %d, mixed %d; lower time lost %d, completed course lost %d; "
                "stray files %d; files after one more save %ld; lowest best time reached %d\n",
                figures.whole, figures.empty, figures.cut, figures.mixed, figures.timeLost, figures.courseLost,
                figures.strayFiles, static_cast<long>(left), lowest);
    fs::current_path("/");
    fs::remove_all(pattern);
    const bool sound = figures.whole == figures.kills && figures.timeLost == 0 && figures.courseLost == 0;
    return sound ? 0 : 1;
}
