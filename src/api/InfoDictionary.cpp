#include "api/InfoDictionary.h"

#include <utility>

namespace quorva {

// Defined in the source that CMake generates from Info.plist.
std::string_view embeddedInfoPlist();

InfoDictionary::InfoDictionary(std::optional<PropertyList> list) : m_list(std::move(list)) {}

InfoDictionary InfoDictionary::fromBytes(std::string_view bytes)
{
    return InfoDictionary(PropertyList::parse(bytes));
}

InfoDictionary InfoDictionary::embedded()
{
    return fromBytes(embeddedInfoPlist());
}

std::optional<std::string> InfoDictionary::string(const std::string& key) const
{
    return m_list ? m_list->string(key) : std::nullopt;
}

QUrl InfoDictionary::apiBaseURL() const
{
    // Used exactly as stored: a value with stray white space is not a URL and falls back,
    // rather than being repaired into one nobody configured.
    if (const auto text = string("QUORVA_API_BASE_URL"); text && !text->empty()) {
        const QUrl url(QString::fromStdString(*text), QUrl::StrictMode);
        if (url.isValid() && !url.isRelative())
            return url;
    }
    return QUrl(QString::fromUtf8(productionBaseURL.data(), qsizetype(productionBaseURL.size())));
}

std::string InfoDictionary::shortVersion() const
{
    return string("CFBundleShortVersionString").value_or(std::string(fallbackVersion));
}

} // namespace quorva
