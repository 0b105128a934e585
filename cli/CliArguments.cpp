#include "CliArguments.h"

#include <algorithm>

namespace quorva::cli {

CliArguments::CliArguments(std::vector<std::string> words, std::vector<std::string> flags,
                           std::vector<std::string> options)
{
    const auto has = [](const std::vector<std::string>& list, const std::string& w) {
        return std::find(list.begin(), list.end(), w) != list.end();
    };
    bool onlyPositionals = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (onlyPositionals || word.size() < 2 || word.rfind("--", 0) != 0) {
            m_positionals.push_back(word);
        } else if (word == "--") {
            onlyPositionals = true;
        } else if (has(flags, word)) {
            m_flagsSeen.push_back(word);
        } else if (has(options, word)) {
            if (i + 1 >= words.size())
                throw UsageError(word + " needs a value");
            m_options.emplace_back(word, words[++i]);
        } else {
            throw UsageError("unknown option " + word);
        }
    }
}

bool CliArguments::flag(const std::string& name) const
{
    return std::find(m_flagsSeen.begin(), m_flagsSeen.end(), name) != m_flagsSeen.end();
}

std::optional<std::string> CliArguments::option(const std::string& name) const
{
    std::optional<std::string> value;
    for (const auto& [key, v] : m_options)
        if (key == name)
            value = v;
    return value;
}

const std::vector<std::string>& CliArguments::positionals(size_t count) const
{
    if (m_positionals.size() != count)
        throw UsageError("expected " + std::to_string(count) + " argument" + (count == 1 ? "" : "s") + ", got " +
                         std::to_string(m_positionals.size()));
    return m_positionals;
}

} // namespace quorva::cli
