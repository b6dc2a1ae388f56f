// The one record of the child's progress: level, per-level statistics, recent
// results, automatic adjustment, score and points. One shared instance,
// reference-counted; every change is written to the registry at once.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "scene/LinkedList.h"

// Questions of one level: answered right without a wrong answer before, and completed.
struct LevelStat {
    std::int32_t correct = 0;
    std::int32_t attempts = 0;
};

class ProgressStore {
public:
    static constexpr std::wstring_view PROGRESS_KEY = L"Software\\Quillmoor\\Horalia";
    static constexpr std::int32_t LEVELS = 10;
    static constexpr std::int32_t FULL_POINTS = 12;
    static constexpr std::int32_t MAX_SCORE = 999999;

    // The shared instance, created and loaded from the registry when there is none.
    static ProgressStore* acquire();
    // Gives up one hold; the last one destroys the instance (a later acquire loads afresh).
    static void release();

    ProgressStore(const ProgressStore&) = delete;
    ProgressStore& operator=(const ProgressStore&) = delete;

    // Counts a completed question of the current level, saves "stat", then
    // adjusts the level over the last five results when adjustment is on.
    void recordResult(bool correct);
    // Adds points to the score (stopping at MAX_SCORE), points back to 12, saves "score".
    void awardPoints();
    // A wrong answer: the question is worth a third of its points (integer
    // division), so 12, 4, 1, then 0. Nothing is saved.
    void reducePoints();
    // Sets the level (1 to 10) and saves it; a real change sets levelChanged
    // and empties history.
    void setLevel(std::int32_t newLevel);
    // Zeroes statistics and score, saves both, sets scoreReset.
    void resetScore();
    // Zeroes all twenty counters and saves "stat".
    void resetStats();
    // correct / attempts of a level (1 to 10) in single precision; 0 without attempts.
    float successRate(std::int32_t ofLevel) const;
    // Switches automatic adjustment; saves "auto" as 0 when on, 1 when off.
    void setAutoAdjust(bool on);

    // Writes stats as the 80-byte binary value "stat".
    void saveStats();
    // Writes the number as "%d" text (REG_SZ, with its terminating null).
    void saveNumber(std::int32_t value, std::wstring_view name);
    // Reads a text value (or a DWORD) as a number; lowest when missing, unreadable or out of bounds.
    void loadNumber(std::int32_t& destination, std::wstring_view name, std::int32_t lowest,
                    std::int32_t highest);

    std::int32_t level = 1;
    std::array<LevelStat, LEVELS> stats{};
    LinkedList<bool> history;  // oldest first; true = right without a wrong answer before
    bool autoAdjust = true;
    bool levelChanged = false;  // set by setLevel, cleared by its reader
    bool scoreReset = false;    // set by resetScore, cleared by its reader
    std::int32_t score = 0;
    std::int32_t points = FULL_POINTS;  // what the next right answer earns

private:
    ProgressStore();
    ~ProgressStore() = default;

    void load();
    void loadStats();

    static ProgressStore* instance_;
    static std::int32_t references_;
};
