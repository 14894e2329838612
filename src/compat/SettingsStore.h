// SPDX-License-Identifier: MIT
#pragma once
#include <QSettings>
#include <QString>

namespace compat {

// The current user's persistent store: application -> section -> key -> text.
// On Linux it is the INI file $XDG_CONFIG_HOME/Tavisk/<application>.conf.
// Texts come back exactly as they were written.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &application);

    // Empty text for anything absent.
    QString read(const QString &section, const QString &key) const;
    void write(const QString &section, const QString &key, const QString &text);
    // Writes everything written so far to disk in one atomic replacement of
    // the file. False (and the old file untouched) when that is impossible.
    bool commit();
    QString fileName() const { return m_settings.fileName(); }

private:
    QSettings m_settings;
};

} // namespace compat
