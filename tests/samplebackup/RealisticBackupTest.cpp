#include "SampleBackup.h"

#include "classifier/LocalRiskClassifier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace quorva;
using namespace quorva::samples;

namespace {

constexpr double kDay = 86400.0;
const Instant kNow = Instant::fromUnixSeconds(1772352930.0);

std::string textOf(const SampleMessage& m)
{
    return m.text ? *m.text : m.attributedText.value_or("");
}

size_t codePoints(std::string_view s)
{
    size_t n = 0;
    for (const unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

bool isIncoming(const SampleMessage& m)
{
    return m.isFromMe.value_or(0) == 0;
}

} // namespace

TEST(RealisticBackup, IsDeterministicPerSeed)
{
    const auto a = realisticBackup(kNow, 300, 0.1, 7);
    const auto b = realisticBackup(kNow, 300, 0.1, 7);
    const auto c = realisticBackup(kNow, 300, 0.1, 8);
    ASSERT_EQ(a.messages.size(), b.messages.size());
    for (size_t i = 0; i < a.messages.size(); ++i) {
        EXPECT_EQ(textOf(a.messages[i]), textOf(b.messages[i]));
        EXPECT_EQ(a.messages[i].date, b.messages[i].date);
        EXPECT_EQ(a.messages[i].sender, b.messages[i].sender);
    }
    size_t same = 0;
    for (size_t i = 0; i < std::min(a.messages.size(), c.messages.size()); ++i)
        same += textOf(a.messages[i]) == textOf(c.messages[i]) ? 1 : 0;
    EXPECT_LT(same, a.messages.size() / 4);
}

TEST(RealisticBackup, FlagsExactlyTheAskedShareOfIncomingMessages)
{
    // Ordinary texts must never trip a rule by accident ("closer" holds "loser"), and every
    // risky one must: otherwise benchmarks and demos silently measure something else.
    const LocalRiskClassifier classifier;
    for (const uint32_t seed : {1u, 2u, 3u, 4u}) {
        const auto plan = realisticBackup(kNow, 1000, 0.05, seed);
        int incoming = 0, flagged = 0, flaggedOutgoing = 0;
        for (const SampleMessage& m : plan.messages) {
            const bool risky = !classifier.classify(textOf(m)).empty();
            if (isIncoming(m)) {
                ++incoming;
                flagged += risky;
            } else {
                flaggedOutgoing += risky;
            }
        }
        EXPECT_EQ(incoming, 1000);
        EXPECT_EQ(flagged, 50) << "seed " << seed;
        EXPECT_GT(flaggedOutgoing, 0);
    }
    EXPECT_EQ(realisticBackup(kNow, 40, 0.0, 1).messages.size(), 50u);
    int all = 0;
    for (const SampleMessage& m : realisticBackup(kNow, 40, 1.0, 1).messages)
        all += isIncoming(m) && !classifier.classify(textOf(m)).empty();
    EXPECT_EQ(all, 40);
}

TEST(RealisticBackup, MixesTheShapesAReaderMeets)
{
    const auto plan = realisticBackup(kNow, 2000, 0.05, 11);
    EXPECT_EQ(plan.lastBackupDate, kNow);
    int outgoing = 0, noHandle = 0, bodyOnly = 0, both = 0, old = 0, emoji = 0, accents = 0, curly = 0,
        links = 0;
    std::set<std::string> senders, texts;
    double newest = -1e300;
    Instant previous = Instant::distantPast();
    for (const SampleMessage& m : plan.messages) {
        const std::string text = textOf(m);
        EXPECT_GE(codePoints(text), 20u) << text;
        EXPECT_LE(codePoints(text), 120u) << text;
        EXPECT_LE(m.date, kNow);
        EXPECT_GE(m.date.unixSeconds, kNow.unixSeconds - 41 * kDay);
        EXPECT_GE(m.date, previous) << "rows are numbered in date order";
        previous = m.date;
        EXPECT_EQ(m.dateEncoding, DateEncoding::nanoseconds);
        texts.insert(text);
        emoji += text.find("\xF0\x9F") != std::string::npos;
        accents += text.find_first_of("\xC3") != std::string::npos;
        curly += text.find("\u2019") != std::string::npos;
        links += text.find("https://") != std::string::npos;
        if (!isIncoming(m)) {
            ++outgoing;
            continue;
        }
        newest = std::max(newest, m.date.unixSeconds);
        noHandle += !m.sender.has_value();
        if (m.sender)
            senders.insert(*m.sender);
        bodyOnly += !m.text && m.attributedText;
        both += m.text && m.attributedText;
        old += m.date.unixSeconds < kNow.unixSeconds - 14 * kDay;
    }
    EXPECT_EQ(outgoing, 500);
    EXPECT_LE(kNow.unixSeconds - newest, 10 * 60.0);
    EXPECT_GT(noHandle, 20);
    EXPECT_GT(bodyOnly, 400);
    EXPECT_GT(both, 400);
    EXPECT_GT(old, 10);
    EXPECT_LT(old, 100);
    EXPECT_GT(emoji, 100);
    EXPECT_GT(accents, 100);
    EXPECT_GT(curly, 100);
    EXPECT_GT(links, 10);
    EXPECT_GT(texts.size(), 800u);
    EXPECT_GE(senders.size(), 12u);
    EXPECT_TRUE(senders.contains("+15555550123"));
    EXPECT_TRUE(std::any_of(senders.begin(), senders.end(),
                            [](const std::string& s) { return s.find('@') != s.npos; }));
}
