// Question drawing, judging and scoring. Every random number is platform::random() mod n,
// drawn in exactly the order below so that a seed fixes the questions.
#include "screens/Questions.h"

#include "platform/random.h"
#include "progress/ProgressStore.h"

namespace {

// A redrawn start hour that equals the target this often means the source is
// not random at all; the next hour is taken instead of looping forever.
constexpr int MAX_REDRAWS = 1000;

// What each relative level asks: an hours offset, a minutes offset, backwards.
struct RelativeKind {
    bool hours;
    bool minutes;
    bool back;
};

constexpr RelativeKind RELATIVE_KINDS[] = {
    {true, false, false},   // 5
    {false, true, false},   // 6
    {true, false, true},    // 7
    {false, true, true},    // 8
    {true, true, false},    // 9
    {true, true, true},     // 10
};

constexpr std::int32_t ABSOLUTE_STEPS[] = {0, 30, 15, 5};  // levels 1 to 4

// The remainder of value modulo n, always 0..n-1.
std::int32_t modulo(int value, std::int32_t n) {
    std::int32_t remainder = value % n;
    return remainder < 0 ? remainder + n : remainder;
}

std::int32_t draw(const RandomSource& random, std::int32_t n) {
    return modulo(random(), n);
}

Question absoluteQuestion(std::int32_t step, const RandomSource& random) {
    Question question;
    question.targetHour = draw(random, 12);
    if (step != 0) {
        std::int32_t n = 60 / step;
        question.targetMinute = step * draw(random, n);
        question.startMinute = step * draw(random, n);
    }
    question.promptId = IDS_SET_TIME;
    question.promptHours = question.targetHour == 0 ? 12 : question.targetHour;
    question.promptMinutes = question.targetMinute;
    question.minuteStep = step;
    question.withReference = false;
    // The child's clock never starts at the target hour.
    question.startHour = draw(random, 12);
    for (int redraws = 0; question.startHour == question.targetHour; ++redraws) {
        question.startHour = redraws < MAX_REDRAWS ? draw(random, 12) : (question.targetHour + 1) % 12;
    }
    return question;
}

Question relativeQuestion(RelativeKind kind, const RandomSource& random) {
    Question question;
    question.minuteStep = 5;
    question.withReference = true;
    int a = random();
    int b = random();
    question.startMinute = 5 * modulo(a, 12);
    question.startHour = modulo(b, 12);
    std::int32_t hours = kind.hours ? draw(random, 12) + 1 : 0;
    std::int32_t minutes = kind.minutes ? 5 * draw(random, 12) : 0;

    if (!kind.back) {
        question.targetHour = question.startHour + hours;
        if (question.targetHour > 11) question.targetHour -= 12;
        question.targetMinute = question.startMinute + minutes;
        if (question.targetMinute > 59) {
            question.targetMinute -= 60;
            question.targetHour += 1;
            if (question.targetHour > 11) question.targetHour -= 12;
        }
    } else {
        question.targetHour = question.startHour - hours;
        if (question.targetHour < 0) question.targetHour += 12;
        question.targetMinute = question.startMinute - minutes;
        if (question.targetMinute < 0) {
            question.targetMinute += 60;
            question.targetHour -= 1;
            if (question.targetHour < 0) question.targetHour += 12;
        }
    }
    question.promptId = kind.back ? IDS_SET_TIME_IN_PAST : IDS_SET_TIME_FROM_NOW;
    question.promptHours = hours;
    question.promptMinutes = minutes;
    return question;
}

}  // namespace

int standardRandom() {
    return platform::random();
}

std::optional<Question> makeQuestion(std::int32_t level, const RandomSource& random) {
    if (level >= 1 && level <= 4) return absoluteQuestion(ABSOLUTE_STEPS[level - 1], random);
    if (level >= 5 && level <= 10) return relativeQuestion(RELATIVE_KINDS[level - 5], random);
    return std::nullopt;
}

Verdict judgeAnswer(const Question& question, std::int32_t hour, std::int32_t minute) {
    Verdict verdict;
    verdict.hourWrong = hour != question.targetHour;
    verdict.minuteWrong = minute != question.targetMinute;
    verdict.correct = !verdict.hourWrong && !verdict.minuteWrong;
    return verdict;
}

void scoreRightAnswer(ProgressStore& store, bool& noWrongAnswer) {
    store.awardPoints();
    store.recordResult(noWrongAnswer);
    noWrongAnswer = true;
}

void scoreWrongAnswer(ProgressStore& store, bool& noWrongAnswer) {
    store.reducePoints();
    noWrongAnswer = false;
}
