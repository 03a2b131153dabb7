#include "platform/fake/Fakes.h"

std::optional<QString> MemoryStore::read(const QString& key) const {
    const auto it = m_values.constFind(key);
    if (it == m_values.cend()) return std::nullopt;
    return *it;
}

void MemoryStore::writeAll(const Values& values) {
    ++saves;
    lastSaveOrder.clear();
    for (const auto& [key, text] : values) {
        m_values[key] = text;
        lastSaveOrder << key;
    }
}
