// CLDR plural rules read by a small recursive descent over the rule's text:
//   rule      = part (";" part)*          part = keyword ":" condition
//   condition = and ("or" and)*           and  = relation ("and" relation)*
//   relation  = operand ["%" value] ("=" | "!=") range ("," range)*
//   range     = value [".." value]
// The whole rule is read before an answer is given, so a damaged rule
// answers other for every number instead of for some.
#include "platform/common/plural_rule.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<std::wstring_view, PluralCategory>, 6> KEYWORDS = {{
    {L"zero", PluralCategory::zero},
    {L"one", PluralCategory::one},
    {L"two", PluralCategory::two},
    {L"few", PluralCategory::few},
    {L"many", PluralCategory::many},
    {L"other", PluralCategory::other},
}};

class RuleReader {
public:
    RuleReader(std::wstring_view rule, std::uint64_t n) : text_(rule), n_(n) {}

    // The category, or nullopt when the rule cannot be read.
    std::optional<PluralCategory> read() {
        std::optional<PluralCategory> found;
        do {
            const std::optional<PluralCategory> category = pluralCategoryNamed(word());
            if (!category || !take(L":")) return std::nullopt;
            skipSpace();
            // The condition ends at the samples ("@integer ...") or the next part.
            const bool empty = atEnd() || peek() == L';' || peek() == L'@';
            const bool holds = empty || condition();
            if (failed_) return std::nullopt;
            if (holds && !found) found = *category;
            while (!atEnd() && peek() != L';') ++at_;  // the samples
        } while (take(L";"));
        if (!atEnd()) return std::nullopt;
        return found.value_or(PluralCategory::other);
    }

private:
    bool condition() {
        bool holds = conjunction();
        while (!failed_ && takeWord(L"or")) holds = conjunction() || holds;
        return holds;
    }

    bool conjunction() {
        bool holds = relation();
        while (!failed_ && takeWord(L"and")) holds = relation() && holds;
        return holds;
    }

    bool relation() {
        const std::wstring_view operand = word();
        std::uint64_t value = 0;
        if (operand == L"n" || operand == L"i") {
            value = n_;
        } else if (operand.size() != 1 || std::wstring_view(L"vwftce").find(operand[0]) == std::wstring_view::npos) {
            return fail();
        }
        if (take(L"%")) {
            const std::optional<std::uint64_t> divisor = number();
            if (!divisor || *divisor == 0) return fail();
            value %= *divisor;
        }
        bool equal;
        if (take(L"!=")) {
            equal = false;
        } else if (take(L"=")) {
            equal = true;
        } else {
            return fail();
        }
        bool inList = false;
        do {
            const std::optional<std::uint64_t> low = number();
            if (!low) return fail();
            std::uint64_t high = *low;
            if (take(L"..")) {
                const std::optional<std::uint64_t> end = number();
                if (!end) return fail();
                high = *end;
            }
            if (value >= *low && value <= high) inList = true;
        } while (take(L","));
        return inList == equal;
    }

    bool fail() {
        failed_ = true;
        return false;
    }

    bool atEnd() { return at_ >= text_.size(); }
    wchar_t peek() { return text_[at_]; }
    void skipSpace() {
        while (!atEnd() && (peek() == L' ' || peek() == L'\t' || peek() == L'\n')) ++at_;
    }

    // Takes the symbol when it comes next.
    bool take(std::wstring_view symbol) {
        skipSpace();
        if (text_.substr(at_, symbol.size()) != symbol) return false;
        at_ += symbol.size();
        return true;
    }

    // The next run of letters (possibly none).
    std::wstring_view word() {
        skipSpace();
        const std::size_t start = at_;
        while (!atEnd() && peek() >= L'a' && peek() <= L'z') ++at_;
        return text_.substr(start, at_ - start);
    }

    bool takeWord(std::wstring_view expected) {
        const std::size_t before = at_;
        if (word() == expected) return true;
        at_ = before;
        return false;
    }

    std::optional<std::uint64_t> number() {
        skipSpace();
        if (atEnd() || peek() < L'0' || peek() > L'9') return std::nullopt;
        std::uint64_t value = 0;
        for (; !atEnd() && peek() >= L'0' && peek() <= L'9'; ++at_) {
            if (value > (UINT64_MAX - 9) / 10) return std::nullopt;
            value = value * 10 + static_cast<std::uint64_t>(peek() - L'0');
        }
        return value;
    }

    std::wstring_view text_;
    std::uint64_t n_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

}  // namespace

std::optional<PluralCategory> pluralCategoryNamed(std::wstring_view keyword) {
    for (const auto& [name, category] : KEYWORDS)
        if (name == keyword) return category;
    return std::nullopt;
}

PluralCategory pluralCategory(std::wstring_view rule, std::int64_t n) {
    const std::uint64_t size = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    return RuleReader(rule, size).read().value_or(PluralCategory::other);
}

}  // namespace platform
