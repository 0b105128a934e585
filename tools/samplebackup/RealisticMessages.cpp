#include "SampleBackup.h"
#include "SamplePhrases.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace quorva::samples {
namespace {

constexpr double kMinute = 60.0;
constexpr double kDay = 86400.0;

// 555-01xx and the other ranges here are reserved for fiction; the addresses use example domains.
constexpr std::array<std::string_view, 10> kFamily = {"+15555550123",
                                                      "+15555550148",
                                                      "+15555550172",
                                                      "+15555550199",
                                                      "mom.alvarez@example.com",
                                                      "+15555550110",
                                                      "coach.rivera@example.org",
                                                      "zoe.k@example.net",
                                                      "+15555550136",
                                                      "grandma.ines@example.com"};
constexpr std::array<std::string_view, 7> kStrangers = {
    "+15555550187",  "+15555550164", "newfriend2011@example.net", "72345", "prize-desk@example.org",
    "+447700900123", "+61491570156"};

std::string senderFor(bool risky, SampleRandom& random)
{
    const bool stranger = random.chance(risky ? 0.6 : 0.05);
    return std::string(stranger ? random.pick(kStrangers) : random.pick(kFamily));
}

// Recent devices keep the text in both columns, or only in the archived body; older rows only in `text`.
void storeText(SampleMessage& message, std::string text, SampleRandom& random)
{
    const double roll = random.unit();
    if (roll < 0.3) {
        message.attributedText = std::move(text);
    } else if (roll < 0.8) {
        message.attributedText = text;
        message.text = std::move(text);
    } else {
        message.text = std::move(text);
    }
}

// `count` distinct indices below `total`, chosen evenly.
std::vector<bool> chooseRisky(int total, int count, SampleRandom& random)
{
    std::vector<int> order(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), 0);
    std::vector<bool> risky(static_cast<size_t>(total), false);
    for (int i = 0; i < count; ++i) {
        const int j = i + static_cast<int>(random.below(static_cast<uint32_t>(total - i)));
        std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
        risky[static_cast<size_t>(order[static_cast<size_t>(i)])] = true;
    }
    return risky;
}

} // namespace

SampleBackupPlan realisticBackup(Instant now, int incoming, double candidateShare, uint32_t seed)
{
    SampleRandom random(seed);
    incoming = std::max(incoming, 0);
    const double share = std::clamp(std::isnan(candidateShare) ? 0.0 : candidateShare, 0.0, 1.0);
    const std::vector<bool> risky =
        chooseRisky(incoming, static_cast<int>(std::lround(incoming * share)), random);

    SampleBackupPlan plan;
    plan.lastBackupDate = now;
    plan.statusDate = now;
    plan.messages.reserve(static_cast<size_t>(incoming + incoming / 4));

    for (int i = 0; i < incoming; ++i) {
        const bool isRisky = risky[static_cast<size_t>(i)];
        SampleMessage message;
        storeText(message, isRisky ? riskyText(random) : ordinaryText(random), random);
        if (!random.chance(0.03))
            message.sender = senderFor(isRisky, random);
        double age = 0.0;
        if (i == 0)
            age = 2 * kMinute + random.unit() * 3 * kMinute; // the newest arrived minutes before the backup
        else if (random.chance(0.02))
            age = 15 * kDay + random.unit() * 25 * kDay; // outside the two weeks a scan looks at
        else
            age = 2 * kMinute + random.unit() * 10 * kDay;
        message.date = Instant{now.unixSeconds - age};
        plan.messages.push_back(std::move(message));
    }

    // The child's own replies: never read, and a few would be flagged if they were.
    for (int i = 0; i < incoming / 4; ++i) {
        SampleMessage message;
        storeText(message, random.chance(0.05) ? riskyText(random) : ordinaryText(random), random);
        message.sender = std::string(random.pick(kFamily));
        message.isFromMe = 1;
        message.date = Instant{now.unixSeconds - 2 * kMinute - random.unit() * 10 * kDay};
        plan.messages.push_back(std::move(message));
    }

    // Rows are numbered in arrival order on a device.
    std::stable_sort(plan.messages.begin(), plan.messages.end(),
                     [](const SampleMessage& a, const SampleMessage& b) { return a.date < b.date; });
    return plan;
}

} // namespace quorva::samples
