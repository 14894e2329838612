#include "platform/SettingsStore.h"

#include <QStringList>

namespace platform {

SettingsStore::SettingsStore(const QString &application)
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavisk"), application)
{
}

QString SettingsStore::read(const QString &section, const QString &key) const
{
    const QVariant value = m_settings.value(section + QLatin1Char('/') + key);
    // An unquoted hand-edited value with commas ("1,000") is parsed by
    // QSettings as a list; its text is still what the user wrote.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    m_settings.setValue(section + QLatin1Char('/') + key, text);
}

bool SettingsStore::commit()
{
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

} // namespace platform
