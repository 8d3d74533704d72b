#include "scenario.h"

#include "device_text.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string_view>

namespace orvanic::sim {

namespace {

constexpr std::size_t kDefaultOversize = 600;
constexpr std::size_t kDefaultGarbage = 8;

// A problem on one line; loadScenario adds the file and line number.
class LineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string_view trimLeft(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::vector<std::string_view> splitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    while (!(text = trimLeft(text)).empty()) {
        const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return words;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

std::uint64_t parseNumber(std::string_view text, std::uint64_t min, std::uint64_t max, std::string_view what)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < min || value > max)
        throw LineError("bad " + std::string(what) + " '" + std::string(text) + "'");
    return value;
}

int parseField(std::string_view text, int min, int max, std::string_view what)
{
    return static_cast<int>(parseNumber(text, static_cast<std::uint64_t>(min), static_cast<std::uint64_t>(max), what));
}

// DD.MM.YYYY, or MM.YYYY when `withDay` is false.
void parseDate(std::string_view text, bool withDay, int& day, int& month, int& year)
{
    const std::vector<std::string_view> parts = splitAt(text, '.');
    if (parts.size() != (withDay ? 3U : 2U))
        throw LineError("bad date '" + std::string(text) + "'");
    std::size_t next = 0;
    if (withDay)
        day = parseField(parts[next++], 1, 31, "day");
    month = parseField(parts[next++], 1, 12, "month");
    if (parts[next].size() != 4)
        throw LineError("bad year '" + std::string(parts[next]) + "'");
    year = parseField(parts[next], 1970, 2099, "year");
}

ClockFields parseClock(const std::vector<std::string_view>& words)
{
    if (words.size() != 3)
        throw LineError("expected: clock DD.MM.YYYY HH:MM:SS");
    ClockFields clock;
    parseDate(words[1], true, clock.day, clock.month, clock.year);
    const std::vector<std::string_view> time = splitAt(words[2], ':');
    if (time.size() != 3)
        throw LineError("bad time '" + std::string(words[2]) + "'");
    clock.hour = parseField(time[0], 0, 23, "hour");
    clock.minute = parseField(time[1], 0, 59, "minute");
    clock.second = parseField(time[2], 0, 59, "second");
    return clock;
}

// DD.MM.YYYY/HH (hourly), DD.MM.YYYY (daily) or MM.YYYY (monthly).
ArchivePeriod parsePeriod(std::string_view text)
{
    ArchivePeriod period{0, 1, kWholePeriod, kWholePeriod};
    const std::vector<std::string_view> parts = splitAt(text, '/');
    if (parts.size() > 2)
        throw LineError("bad period '" + std::string(text) + "'");
    const bool withDay = std::count(parts[0].begin(), parts[0].end(), '.') == 2;
    if (parts.size() == 2 && !withDay)
        throw LineError("an hourly period needs a day: '" + std::string(text) + "'");
    int year = 0;
    parseDate(parts[0], withDay, period.day, period.month, year);
    period.year = year % 100;
    if (parts.size() == 2)
        period.hour = parseField(parts[1], 0, 23, "hour");
    return period;
}

FaultWhen parseWhen(std::string_view word)
{
    FaultWhen when;
    if (word == "request=*") {
        when.kind = FaultWhen::Kind::EveryRequest;
    } else if (word.starts_with("request=")) {
        when.kind = FaultWhen::Kind::RequestNumber;
        when.requestNumber = parseNumber(word.substr(8), 1, UINT64_MAX, "request number");
    } else if (word.starts_with("every=")) {
        when.kind = FaultWhen::Kind::EveryNth;
        when.requestNumber = parseNumber(word.substr(6), 1, UINT64_MAX, "request interval");
    } else if (word.starts_with("period=")) {
        when.kind = FaultWhen::Kind::Period;
        when.period = parsePeriod(word.substr(7));
    } else {
        throw LineError("unknown fault condition '" + std::string(word) + "'");
    }
    return when;
}

std::chrono::milliseconds parseMilliseconds(std::string_view text, std::string_view what)
{
    return std::chrono::milliseconds(parseNumber(text, 0, 3'600'000, what));
}

FaultKinds parseKind(std::string_view word)
{
    FaultKinds kinds;
    const std::size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const bool hasValue = equals != std::string_view::npos;
    const std::string_view value = hasValue ? word.substr(equals + 1) : std::string_view{};

    if (!hasValue && name == "silent") {
        kinds.silent = true;
    } else if (!hasValue && name == "crc") {
        kinds.badCrc = true;
    } else if (!hasValue && name == "nodata") {
        kinds.noData = true;
    } else if (name == "short") {
        if (hasValue)
            kinds.cutLength = static_cast<std::size_t>(parseNumber(value, 0, 1'000'000, "short length"));
        else
            kinds.cutHalf = true;
    } else if (hasValue && name == "delay") {
        kinds.delay = parseMilliseconds(value, "delay");
    } else if (hasValue && name == "chunks") {
        const std::vector<std::string_view> parts = splitAt(value, ',');
        if (parts.size() != 2)
            throw LineError("expected chunks=N,GAP_MS, got '" + std::string(word) + "'");
        kinds.pieces = static_cast<int>(parseNumber(parts[0], 1, 10'000, "chunk count"));
        kinds.pieceGap = parseMilliseconds(parts[1], "chunk gap");
    } else if (name == "oversize") {
        kinds.oversize = hasValue ? static_cast<std::size_t>(parseNumber(value, 0, 1'000'000, "oversize")) : kDefaultOversize;
    } else if (name == "garbage") {
        kinds.garbage = hasValue ? static_cast<std::size_t>(parseNumber(value, 0, 1'000'000, "garbage")) : kDefaultGarbage;
    } else if (!hasValue && name == "vanish") {
        kinds.vanish = true;
    } else if (hasValue && name == "address") {
        kinds.answerAddress = static_cast<std::uint8_t>(parseNumber(value, 0, 255, "answer address"));
    } else {
        throw LineError("unknown fault kind '" + std::string(word) + "'");
    }
    return kinds;
}

FaultRule parseFault(const std::vector<std::string_view>& words)
{
    if (words.size() < 3)
        throw LineError("expected: fault WHEN KIND [KIND ...]");
    FaultRule rule;
    rule.when = parseWhen(words[1]);
    std::size_t next = 2;
    if (words[next].starts_with("times=")) {
        if (rule.when.kind != FaultWhen::Kind::Period)
            throw LineError("times= only goes with period=");
        rule.when.times = parseNumber(words[next].substr(6), 1, UINT64_MAX, "times");
        ++next;
    }
    if (next == words.size())
        throw LineError("a fault needs at least one kind");
    for (; next < words.size(); ++next)
        rule.kinds.merge(parseKind(words[next]));
    return rule;
}

void parseLine(std::string_view line, Scenario& scenario)
{
    line = trimLeft(line);
    if (line.empty() || line.front() == '#')
        return;
    const std::size_t keywordEnd = std::min(line.find_first_of(" \t"), line.size());
    const std::string_view keyword = line.substr(0, keywordEnd);

    // The description is the rest of the line as written, '#' included.
    if (keyword == "description") {
        const std::string_view text = trimLeft(line.substr(keywordEnd));
        if (text.empty())
            throw LineError("empty description");
        scenario.description = encodeDeviceText(text);
        return;
    }

    const std::vector<std::string_view> words = splitWords(line.substr(0, line.find('#')));
    if (keyword == "address") {
        if (words.size() != 2)
            throw LineError("expected: address N");
        scenario.address = static_cast<std::uint8_t>(parseNumber(words[1], 0, 255, "address"));
    } else if (keyword == "clock") {
        scenario.clock = parseClock(words);
    } else if (keyword == "fault") {
        scenario.faults.push_back(parseFault(words));
    } else {
        throw LineError("unknown directive '" + std::string(keyword) + "'");
    }
}

}  // namespace

Scenario loadScenario(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw ScenarioError("cannot read scenario " + path);
    Scenario scenario;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        try {
            parseLine(line, scenario);
        } catch (const LineError& e) {
            throw ScenarioError(path + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    if (file.bad())
        throw ScenarioError("cannot read scenario " + path);
    return scenario;
}

}  // namespace orvanic::sim
