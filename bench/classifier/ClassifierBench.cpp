#include "classifier/LocalRiskClassifier.h"
#include "classifier/TextNormalization.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

using quorva::LocalRiskClassifier;

const std::vector<std::string> kChat = {
    "hey are you coming to practice later? ",
    "lol that was so funny ",
    "can you pick me up at 5 ",
    "did you finish the math homework ",
    "mom says dinner is at 7 ",
    "ok see you tomorrow ",
    "what time does the movie start ",
    "i forgot my charger at school ",
    "bring snacks pls ",
    "haha yes exactly ",
    "we have a test on friday ",
    "are you going to the party saturday ",
    "my phone is almost dead ",
    "sounds good to me ",
    "where are you guys ",
    "grandma says hi ",
};
const std::vector<std::string> kAccentedChat = {
    "I don\u2019t know 😂 ",          "café after school? ",
    "naïve question but… ",          "see you at the crêperie ❤️ ",
    "that\u2019s so cool 👍🏽 ", "Zoë said the señor was mad ",
    "jalapeño pizza tonight 🍕 ",     "CANT WAIT 🎉🎉 ",
    "über tired today 😴 ",           "it\u2019s fine, don\u2019t worry ",
};
const std::vector<std::string> kRisky = {
    "keep this secret ok ",
    "don\u2019t tell your parents ",
    "send me a pic ",
    "you\u2019re ugly ",
    "send money now ",
    "gift card ",
    "i will hurt you ",
    "want to die ",
    "verify at https://x.example ",
    "nudes ",
};

// Keeps the first 80 code points.
std::string first80CodePoints(const std::string& text)
{
    std::size_t codePoints = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && codePoints++ == 80)
            return text.substr(0, i);
    }
    return text;
}

// 80-character messages: about 80 % plain chat, 15 % with accents, emoji or typographic
// apostrophes, 5 % holding a phrase a rule looks for.
std::vector<std::string> messageMix(double accentedShare, double riskyShare)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> dice(0.0, 1.0);
    const auto pick = [&](const std::vector<std::string>& pool) {
        return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
    };
    std::vector<std::string> messages(4096);
    for (auto& message : messages) {
        const double roll = dice(random);
        if (roll < riskyShare)
            message = pick(kRisky);
        const bool accented = roll >= riskyShare && roll < riskyShare + accentedShare;
        while (message.size() < 100)
            message += accented && dice(random) < 0.5 ? pick(kAccentedChat) : pick(kChat);
        message = first80CodePoints(message);
    }
    return messages;
}

void classifyMessages(benchmark::State& state, const std::vector<std::string>& messages)
{
    const LocalRiskClassifier classifier;
    std::size_t flagged = 0;
    std::size_t nonAscii = 0;
    for (const auto& message : messages) {
        flagged += classifier.classify(message).empty() ? 0 : 1;
        nonAscii +=
            std::any_of(message.begin(), message.end(), [](char c) { return (c & 0x80) != 0; }) ? 1 : 0;
    }

    std::size_t i = 0;
    for (auto _ : state) {
        auto reasons = classifier.classify(messages[i++ % messages.size()]);
        benchmark::DoNotOptimize(reasons);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["flaggedShare"] = static_cast<double>(flagged) / static_cast<double>(messages.size());
    state.counters["nonAsciiShare"] = static_cast<double>(nonAscii) / static_cast<double>(messages.size());
}

void BM_ClassifyMixedMessages(benchmark::State& state)
{
    static const auto messages = messageMix(0.15, 0.05);
    classifyMessages(state, messages);
}
BENCHMARK(BM_ClassifyMixedMessages);

void BM_ClassifyPlainAsciiMessages(benchmark::State& state)
{
    static const auto messages = messageMix(0.0, 0.0);
    classifyMessages(state, messages);
}
BENCHMARK(BM_ClassifyPlainAsciiMessages);

void BM_ClassifyAccentedMessages(benchmark::State& state)
{
    static const auto messages = messageMix(1.0, 0.0);
    classifyMessages(state, messages);
}
BENCHMARK(BM_ClassifyAccentedMessages);

// What the single-pass search in classify() has to beat to be worth its code: the same
// normalisation, then one substring search per term, marker and pressure word.
void BM_SearchTermByTermMixedMessages(benchmark::State& state)
{
    static const auto messages = messageMix(0.15, 0.05);
    const auto& rules = LocalRiskClassifier::defaultRules();
    const std::vector<std::string_view> markers = {"http://", "https://", " bit.ly/", " tinyurl.com/"};
    const std::vector<std::string_view> pressure = {"urgent",   "right now", "immediately", "verify",
                                                    "password", "code",      "locked"};
    const auto containsAny = [](std::string_view text, const auto& phrases) {
        return std::any_of(phrases.begin(), phrases.end(), [&](std::string_view phrase) {
            return text.find(phrase) != std::string_view::npos;
        });
    };
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& message = messages[i++ % messages.size()];
        std::string text;
        if (!quorva::textnormalization::normalizeAscii(message, text))
            text = quorva::textnormalization::normalizedByIcu(message);
        std::vector<std::string> reasons;
        for (const auto& rule : rules)
            if (containsAny(text, rule.terms))
                reasons.push_back(rule.label);
        if (containsAny(text, markers) && containsAny(text, pressure))
            reasons.emplace_back("urgent link or account pressure");
        std::sort(reasons.begin(), reasons.end());
        benchmark::DoNotOptimize(reasons);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_SearchTermByTermMixedMessages);

} // namespace
