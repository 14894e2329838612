// SPDX-License-Identifier: MIT
#include "compat/SettingsStore.h"

#include <QLockFile>
#include <QStringList>

namespace compat {

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
    // QSettings guards the file with "<file>.lock". A writer killed between
    // creating that lock and writing its owner into it leaves an empty lock,
    // which QSettings only treats as abandoned once it is 30 s old: the save
    // would hold up the clock until then. Taking the lock ourselves first with
    // a short stale time clears such a leftover within two seconds; a lock of
    // a live writer is waited for as usual.
    {
        QLockFile lock(m_settings.fileName() + QStringLiteral(".lock"));
        lock.setStaleLockTime(2000);
        if (lock.tryLock(5000))
            lock.unlock();
    }
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

} // namespace compat
