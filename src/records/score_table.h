// Best times and course locks, kept in score.dat in the game folder.
#pragma once
#include <cstdint>

enum CourseState { Locked = -1, Open = 0, Completed = 1 };

constexpr int MaxRecordSets = 10;
constexpr int RecordsPerSet = 20;
constexpr const char* ScoreFileName = "score.dat";

struct CourseRecord {
    std::int32_t course;
    std::int32_t courseState;
    std::int32_t bestTime;  // seconds; 0 means none yet
};

class ScoreTable {
public:
    ScoreTable();
    virtual ~ScoreTable();

    std::int32_t currentCourse = 0;
    std::int32_t currentSet = 0;
    std::int32_t setCount = 1;
    CourseRecord records[MaxRecordSets][RecordsPerSet];

    std::int32_t Load();
    void Save();
    // The record of a course in the set in use.
    CourseRecord& Current(int courseIndex);
};
