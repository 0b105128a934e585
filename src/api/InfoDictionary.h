#pragma once

#include "backup/PropertyList.h"

#include <QUrl>

#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// The application's information dictionary: the Info.plist generated at configure time and
// embedded in the binary. Bytes that do not parse give an empty dictionary.
class InfoDictionary {
public:
    static constexpr std::string_view productionBaseURL = "https://api.quorva.app";
    static constexpr std::string_view fallbackVersion = "0.1.0";

    [[nodiscard]] static InfoDictionary fromBytes(std::string_view bytes);
    // The dictionary this binary was built with.
    [[nodiscard]] static InfoDictionary embedded();

    // The value for key when it is a string.
    [[nodiscard]] std::optional<std::string> string(const std::string& key) const;

    // QUORVA_API_BASE_URL exactly as stored when it parses as an absolute URL, else production.
    [[nodiscard]] QUrl apiBaseURL() const;
    // CFBundleShortVersionString when it is a string, else "0.1.0".
    [[nodiscard]] std::string shortVersion() const;

private:
    explicit InfoDictionary(std::optional<PropertyList> list);
    std::optional<PropertyList> m_list;
};

} // namespace quorva
