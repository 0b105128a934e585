#include "stores/DeviceBindingStore.h"

#include "stores/Preferences.h"
#include "stores/StoresLogging.h"

#include <QVariantMap>

#include <algorithm>
#include <iterator>

namespace quorva {

std::map<std::string, std::string> DeviceBindingStore::bindings() const
{
    std::map<std::string, std::string> entries;
    const std::optional<QVariant> stored = m_preferences.value(m_key);
    if (!stored || stored->typeId() != QMetaType::QVariantMap)
        return entries;
    const QVariantMap map = stored->toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().typeId() == QMetaType::QString && !it.key().isEmpty() &&
            !it.value().toString().isEmpty())
            entries.emplace(it.key().toStdString(), it.value().toString().toStdString());
    }
    return entries;
}

void DeviceBindingStore::write(const std::map<std::string, std::string>& bindings) const
{
    QVariantMap map;
    for (const auto& [device, child] : bindings)
        map.insert(QString::fromStdString(device), QString::fromStdString(child));
    m_preferences.setValue(m_key, map);
}

std::set<std::string> DeviceBindingStore::assignedToNoOne() const
{
    std::set<std::string> devices;
    const std::optional<QVariant> stored = m_preferences.value(noOneKey());
    // The settings file keeps a list of one as a plain string.
    if (!stored || (stored->typeId() != QMetaType::QStringList && stored->typeId() != QMetaType::QString))
        return devices;
    for (const QString& device : stored->toStringList())
        if (!device.isEmpty())
            devices.insert(device.toStdString());
    return devices;
}

void DeviceBindingStore::writeAssignedToNoOne(const std::set<std::string>& devices) const
{
    QStringList list;
    for (const std::string& device : devices)
        list.append(QString::fromStdString(device));
    m_preferences.setValue(noOneKey(), list);
}

void DeviceBindingStore::clear() const
{
    try {
        m_preferences.remove(noOneKey());
        m_preferences.remove(m_key);
    } catch (const std::exception& error) {
        qCWarning(lcStores) << "the iPhones' children could not be forgotten:" << error.what();
    }
}

std::optional<std::string> DeviceBindingStore::childOf(const std::string& deviceId) const
{
    const auto all = bindings();
    const auto found = all.find(deviceId);
    return found == all.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::string> DeviceBindingStore::deviceOf(const std::string& childId) const
{
    for (const auto& [device, child] : bindings()) {
        if (child == childId)
            return device;
    }
    return std::nullopt;
}

void DeviceBindingStore::bind(const std::string& deviceId, const std::string& childId) const
{
    auto all = bindings();
    std::erase_if(all, [&](const auto& entry) { return entry.second == childId; });
    all[deviceId] = childId;
    write(all);
    if (auto noOne = assignedToNoOne(); noOne.erase(deviceId) > 0)
        writeAssignedToNoOne(noOne);
}

void DeviceBindingStore::unbind(const std::string& deviceId) const
{
    auto noOne = assignedToNoOne();
    if (noOne.insert(deviceId).second)
        writeAssignedToNoOne(noOne);
    auto all = bindings();
    if (all.erase(deviceId) > 0)
        write(all);
}

void DeviceBindingStore::keepOnly(const std::vector<std::string>& childIds) const
{
    auto all = bindings();
    const auto removed = std::erase_if(
        all, [&](const auto& entry) { return std::ranges::find(childIds, entry.second) == childIds.end(); });
    if (removed > 0)
        write(all);
}

} // namespace quorva
