// SPDX-License-Identifier: MIT
// Builds the context menu and both dialogs as the clock does, shows them, and
// prints each caption character that none of the fonts available can draw:
// for those the text engine has only glyph 0 (.notdef), which draws as an
// empty box. Also prints the face the menu resolves to. Exit status 1 when a
// character is missing.
#include "alarm/C_Alam.h"
#include "clock/ClockFont.h"
#include "commands/C_Font.h"
#include "compat/JapaneseFonts.h"
#include "menu/C_Menu.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QTextLayout>
#include <cstdio>

namespace {

bool drawable(QChar c, const QFont &font)
{
    QTextLayout layout(QString(c), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns())
        if (run.glyphIndexes().contains(0))
            return false;
    return true;
}

// Prints the characters of `text` that `font` cannot draw; returns how many.
int missing(const QString &where, QString text, const QFont &font)
{
    text.remove(QLatin1Char('&')); // access keys are underlined, not drawn
    QString absent;
    for (QChar c : text)
        if (!c.isSpace() && !absent.contains(c) && !drawable(c, font))
            absent += c;
    if (!absent.isEmpty())
        std::printf("missing in %s \"%s\" (%s): %s\n", qPrintable(where), qPrintable(text),
                    qPrintable(QFontInfo(font).family()), qPrintable(absent));
    return absent.size();
}

int missingInWindow(QWidget *window)
{
    int n = 0;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        const QString where = w->objectName();
        if (auto *label = qobject_cast<QLabel *>(w))
            n += missing(where, label->text(), w->font());
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            n += missing(where, button->text(), w->font());
        else if (auto *frame = qobject_cast<QGroupBox *>(w))
            n += missing(where, frame->title(), w->font());
        else if (auto *list = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < list->count(); ++i)
                n += missing(where, list->itemText(i), w->font());
    }
    return n;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installImpactStandIn();
    compat::installJapaneseFontStandIns();

    QMenu *menu = C_Menu::instance()->p_Main;
    menu->popup(QPoint(10, 10));
    QApplication::processEvents();
    std::printf("menu face: %s\n", qPrintable(QFontInfo(menu->font()).family()));
    int n = 0;
    for (QAction *item : menu->actions())
        if (!item->isSeparator())
            n += missing(item->objectName(), item->text(), item->font().resolve(menu->font()));
    menu->hide();

    C_Menu::instance()->p_FontSSelect->trigger();
    C_Menu::instance()->p_alam->trigger();
    QApplication::processEvents();
    n += missingInWindow(C_Font::instance());
    n += missingInWindow(C_Alam::instance());
    std::printf("%d characters missing\n", n);
    return n == 0 ? 0 : 1;
}
