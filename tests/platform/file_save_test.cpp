// Saving a whole file: replaced in one rename where that can be done, rewritten in place
// where nothing can be created beside it, never half-written, links followed. (A file that
// cannot be opened for writing: tests/records/score_file_test.cpp.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/file_save.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const Bytes kOld = {'o', 'l', 'd', 0x0D, 0x0A};
const Bytes kNew = {'n', 'e', 'w', '!'};

struct WriteFailureGuard {
    ~WriteFailureGuard() { SetWriteFailureAfterBytes(-1); }
};

struct stat StatusOf(const std::string& path) {
    struct stat status {};
    lstat(path.c_str(), &status);
    return status;
}

mode_t ModeOf(const std::string& path) { return StatusOf(path).st_mode & 07777; }

void MakeFile(const std::string& path, const Bytes& bytes, mode_t mode) {
    WriteBytes(path, bytes);
    chmod(path.c_str(), mode);
}

// A folder the child may read but not change, with a save file it may write.
class LockedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        chmod(dir.Path().c_str(), 0755);
        fs::create_directory("locked");
        MakeFile("locked/score.dat", kOld, 0666);
        chmod("locked", 0555);
    }
    void TearDown() override { chmod("locked", 0755); }
    ScopedWorkDir dir;
};

}  // namespace

// Names like a save's temporary file beside score.dat: a save removes only an abandoned one of
// this player's (its lock gone with its process), and never writes through any of them.
TEST(FileSave, OnlyAbandonedTemporaryFilesGoAndNoneIsWrittenThrough) {
    const std::string ended = std::to_string(EndedProcessId()), own = std::to_string(getpid());
    struct Case {
        const char* what;
        std::string name;
        // f file, l file locked by a live save, s link or h hard link to outside.dat, o another
        // owner's; S a link planted before the first save, with no score.dat to fall back on
        char kind;
        bool removed;
    };
    const Case cases[] = {
        {"abandoned", "score.dat.tmp-" + ended, 'f', true},
        {"abandoned under this process's id", "score.dat.tmp-" + own, 'f', true},
        {"in use by a game in another process id space", "score.dat.tmp-" + ended, 'l', false},
        {"leading zero", "score.dat.tmp-0" + ended, 'f', false},
        {"not a process id", "score.dat.tmp-12x", 'f', false},
        {"another file's", "other.dat.tmp-" + ended, 'f', false},
        {"link under this process's name", "score.dat.tmp-" + own, 's', false},
        {"link under this process's name before the first save", "score.dat.tmp-" + own, 'S', false},
        {"hard link under this process's name", "score.dat.tmp-" + own, 'h', false},
        {"another player's", "score.dat.tmp-" + ended, 'o', false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedWorkDir dir;
        if (c.kind != 'S') MakeFile("score.dat", kOld, 0644);
        WriteBytes("outside.dat", kOld);
        if (c.kind == 's' || c.kind == 'S') fs::create_symlink("outside.dat", c.name);
        else if (c.kind == 'h') fs::create_hard_link("outside.dat", c.name);
        else WriteBytes(c.name, Bytes(5000, 'x'));
        if (c.kind == 'o' && (geteuid() != 0 || chown(c.name.c_str(), 1111, 1111) != 0)) continue;
        const int planted = open(c.name.c_str(), O_RDONLY);
        if (c.kind == 'l') flock(planted, LOCK_EX);
        const ino_t inode = StatusOf("score.dat").st_ino;
        ASSERT_EQ(SaveWholeFile("score.dat", kNew), 0);
        close(planted);
        EXPECT_EQ(ReadBytes("score.dat"), kNew);
        EXPECT_EQ(ReadBytes("outside.dat"), kOld);
        EXPECT_EQ(fs::exists(fs::symlink_status(c.name)), !c.removed);
        EXPECT_EQ(FilesHere().size(), c.removed ? 2u : 3u);
        if (c.kind == 'f') {
            EXPECT_NE(StatusOf("score.dat").st_ino, inode);  // a new file renamed into place
        }
    }
}

// Another program holding score.dat's lock for ever must not hold up a goal.
TEST(FileSave, ARewriteInPlaceWaitsForTheLockOnlyAWhile) {
    ScopedWorkDir dir;
    MakeFile("score.dat", kOld, 0644);
    fs::create_hard_link("score.dat", "backup.dat");
    const int holder = open("score.dat", O_RDONLY);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_EQ(SaveWholeFile("score.dat", kNew), EWOULDBLOCK);
    EXPECT_EQ(ReadBytes("score.dat"), kOld);
    close(holder);
    EXPECT_EQ(SaveWholeFile("score.dat", kNew), 0);
}

// Also where the file is rewritten in place (it has a second name): the old content is put back.
TEST(FileSave, FailedWriteLeavesTheOldFileWholeAndNoTemporaryBehind) {
    WriteFailureGuard guard;
    const Bytes fresh(200, 0x0A);
    for (bool secondName : {false, true}) {
        ScopedWorkDir dir;
        WriteBytes("score.dat", kOld);
        if (secondName) fs::create_hard_link("score.dat", "backup.dat");
        const std::vector<std::string> names = FilesHere();
        for (long budget : {0L, 1L, 150L, 199L}) {
            SetWriteFailureAfterBytes(budget);
            EXPECT_EQ(SaveWholeFile("score.dat", fresh), ENOSPC) << budget;
            EXPECT_EQ(ReadBytes("score.dat"), kOld) << budget << (secondName ? " in place" : "");
            EXPECT_EQ(FilesHere(), names) << budget;
        }
        SetWriteFailureAfterBytes(200);  // exactly enough
        EXPECT_EQ(SaveWholeFile("score.dat", fresh), 0);
        EXPECT_EQ(ReadBytes("score.dat"), fresh);
    }
}

TEST(FileSave, AMissingFolderIsReportedAndNothingIsCreated) {
    ScopedWorkDir dir;
    EXPECT_EQ(SaveWholeFile("no-such-folder/score.dat", kNew), ENOENT);
    EXPECT_TRUE(FilesHere().empty());
}

TEST(FileSave, TheReplacedFileKeepsItsPermissionBits) {
    ScopedWorkDir dir;
    for (mode_t mode : {0600, 0640, 0604, 0777}) {
        MakeFile("score.dat", kOld, mode);
        ASSERT_EQ(SaveWholeFile("score.dat", kNew), 0);
        EXPECT_EQ(ModeOf("score.dat"), mode) << std::oct << mode;
    }
}

// Another player's save in a shared folder: the owner must still be able to save after him.
TEST(FileSave, TheFileKeepsItsOwnerAndGroupAndIsRewrittenWhereTheyCannotBeGiven) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can make a file of another user";
    ScopedWorkDir dir;
    chmod(dir.Path().c_str(), 0755);
    fs::create_directory("shared");
    chmod("shared", 0777);
    MakeFile("shared/score.dat", kOld, 0666);
    ASSERT_EQ(chown("shared/score.dat", 1111, 2000), 0);
    const ino_t inode = StatusOf("shared/score.dat").st_ino;

    ASSERT_EQ(SaveWholeFile("shared/score.dat", kNew), 0);  // may give the new file away
    const ino_t replaced = StatusOf("shared/score.dat").st_ino;
    EXPECT_NE(replaced, inode);
    EXPECT_TRUE(PassesWithoutPrivileges([] { EXPECT_EQ(SaveWholeFile("shared/score.dat", kOld), 0); }));
    EXPECT_EQ(ReadBytes("shared/score.dat"), kOld);
    EXPECT_EQ(StatusOf("shared/score.dat").st_ino, replaced);
    EXPECT_EQ(StatusOf("shared/score.dat").st_uid, 1111u);
    EXPECT_EQ(StatusOf("shared/score.dat").st_gid, 2000u);
    EXPECT_EQ(ModeOf("shared/score.dat"), 0666u);
    EXPECT_EQ(std::distance(fs::directory_iterator("shared"), fs::directory_iterator()), 1);
}

// A rename would leave the other names on the old table.
TEST(FileSave, AFileWithHardLinksIsRewrittenSoThatEveryNameShowsTheNewTable) {
    ScopedWorkDir dir;
    MakeFile("score.dat", kOld, 0644);
    fs::create_hard_link("score.dat", "backup.dat");
    ASSERT_EQ(SaveWholeFile("score.dat", kNew), 0);
    EXPECT_EQ(ReadBytes("backup.dat"), kNew);
    EXPECT_EQ(StatusOf("score.dat").st_ino, StatusOf("backup.dat").st_ino);
    EXPECT_EQ(FilesHere(), (std::vector<std::string>{"backup.dat", "score.dat"}));
}

TEST(FileSave, ALinkIsFollowedToItsTargetAndStaysALink) {
    ScopedWorkDir dir;
    fs::create_directories("synced/saves");
    MakeFile("synced/saves/quonfel.dat", kOld, 0640);
    fs::create_symlink("saves/quonfel.dat", "synced/link.dat");  // relative to its own folder
    fs::create_symlink("synced/link.dat", "score.dat");          // and a link to that link

    ASSERT_EQ(SaveWholeFile("score.dat", kNew), 0);
    EXPECT_TRUE(fs::is_symlink("score.dat"));
    EXPECT_TRUE(fs::is_symlink("synced/link.dat"));
    EXPECT_EQ(ReadBytes("synced/saves/quonfel.dat"), kNew);
    EXPECT_EQ(ModeOf("synced/saves/quonfel.dat"), 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator("synced/saves"), fs::directory_iterator()), 1);

    // A link to a file not there yet creates it.
    fs::remove("synced/saves/quonfel.dat");
    ASSERT_EQ(SaveWholeFile("score.dat", kNew), 0);
    EXPECT_EQ(ReadBytes("synced/saves/quonfel.dat"), kNew);
}

TEST_F(LockedFolder, AWritableFileInAFolderThatTakesNoNewFilesIsRewrittenInPlace) {
    const ino_t inode = StatusOf("locked/score.dat").st_ino;
    EXPECT_TRUE(PassesWithoutPrivileges([] {
        EXPECT_EQ(SaveWholeFile("locked/score.dat", kNew), 0);
        EXPECT_EQ(SaveWholeFile("locked/other.dat", kNew), EACCES);  // nothing to rewrite
    }));
    EXPECT_EQ(ReadBytes("locked/score.dat"), kNew);
    EXPECT_EQ(StatusOf("locked/score.dat").st_ino, inode);
    EXPECT_EQ(ModeOf("locked/score.dat"), 0666u);
    EXPECT_EQ(std::distance(fs::directory_iterator("locked"), fs::directory_iterator()), 1);
}

TEST_F(LockedFolder, ALinkFromThereToAWritableFolderStillReplacesTheTarget) {
    fs::create_directory("open");
    chmod("open", 0777);
    MakeFile("open/score.dat", kOld, 0666);
    GiveToUnprivilegedUser("open/score.dat");
    const ino_t inode = StatusOf("open/score.dat").st_ino;
    chmod("locked", 0755);
    fs::create_symlink("../open/score.dat", "locked/link.dat");
    chmod("locked", 0555);

    EXPECT_TRUE(PassesWithoutPrivileges([] { EXPECT_EQ(SaveWholeFile("locked/link.dat", kNew), 0); }));
    EXPECT_EQ(ReadBytes("open/score.dat"), kNew);
    EXPECT_NE(StatusOf("open/score.dat").st_ino, inode);
    EXPECT_TRUE(fs::is_symlink("locked/link.dat"));
}

// Two games saving into the same folder at the same moment: whoever reads the file sees one
// whole save or the other, never a mixture, and no temporary file stays.
TEST(FileSave, TwoSimultaneousSaversNeverMixTheirFiles) {
    ScopedWorkDir dir;
    const Bytes first(64 * 1024, 'a');
    const Bytes second(40 * 1024, 'b');
    WriteBytes("score.dat", first);
    pid_t savers[2];
    for (int i = 0; i < 2; ++i) {
        savers[i] = fork();
        ASSERT_GE(savers[i], 0);
        if (savers[i] == 0) {
            for (int round = 0; round < 200; ++round) SaveWholeFile("score.dat", i == 0 ? first : second);
            _exit(0);
        }
    }
    int reads = 0;
    int mixed = 0;
    int running = 2;
    while (running > 0) {
        const Bytes seen = ReadBytes("score.dat");
        ++reads;
        if (seen != first && seen != second) ++mixed;
        for (pid_t& saver : savers) {
            int status = 0;
            if (saver > 0 && waitpid(saver, &status, WNOHANG) == saver) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                saver = 0;
                --running;
            }
        }
    }
    EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
    const Bytes last = ReadBytes("score.dat");
    EXPECT_TRUE(last == first || last == second);
    EXPECT_EQ(FilesHere(), std::vector<std::string>{"score.dat"});
}
