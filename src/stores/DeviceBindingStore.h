#pragma once

#include "stores/Preferences.h"

#include <QString>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorva {

// Which child each iPhone belongs to, by the device's identifier. A child has at most one iPhone:
// binding a device to a child releases the child's earlier one.
class DeviceBindingStore {
public:
    explicit DeviceBindingStore(Preferences preferences,
                                QString key = QStringLiteral("bridge.device-children"))
        : m_preferences(std::move(preferences)), m_key(std::move(key))
    {
    }

    // Device identifier to child id. A value of another shape, or an entry that is no pair of
    // strings, reads as absent.
    [[nodiscard]] std::map<std::string, std::string> bindings() const;
    [[nodiscard]] std::optional<std::string> childOf(const std::string& deviceId) const;
    [[nodiscard]] std::optional<std::string> deviceOf(const std::string& childId) const;
    // The iPhones the parent assigned to no one on purpose (a parent's own): kept apart from the
    // bindings, which an earlier version reads, so that it never sees a binding to no one.
    [[nodiscard]] std::set<std::string> assignedToNoOne() const;
    // Throw PlatformError when the preferences cannot be written; the earlier bindings stay then.
    void bind(const std::string& deviceId, const std::string& childId) const;
    // Assigns the iPhone to no one: it is not read, and no longer news.
    void unbind(const std::string& deviceId) const;
    // Keeps only the bindings of these children: the others belong to a family no longer paired.
    void keepOnly(const std::vector<std::string>& childIds) const;
    // Never fails.
    void clear() const;

    [[nodiscard]] const QString& key() const { return m_key; }

private:
    void write(const std::map<std::string, std::string>& bindings) const;
    void writeAssignedToNoOne(const std::set<std::string>& devices) const;
    [[nodiscard]] QString noOneKey() const { return m_key + QStringLiteral("-no-one"); }

    Preferences m_preferences;
    QString m_key;
};

} // namespace quorva
