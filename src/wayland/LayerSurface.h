// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QPointer>
#include <memory>
#include <optional>

class QScreen;
class QWidget;

namespace wayland {

class DragImage;

// A window shown as a layer surface, and what the compositor cannot be asked
// about it: where it is (margins from its output's corner, which the program
// chose), and in which layer. Kept with the window, as its child.
//
// A layer surface is never among the windows: it is above all of them (the
// top layer) or below them all (the bottom layer). An ordinary window that
// the user does not keep on top is in front when it starts and when the user
// clicks it, and goes behind the window the user activates next: the surface
// is in the top layer until the compositor says another window was
// activated. Where no compositor says so, it stays in the top layer: seen,
// rather than lost below a window that covers the whole screen.
class LayerSurface : public QObject
{
    Q_OBJECT
public:
    // The window's layer surface, made on first use.
    static LayerSurface &of(QWidget *window);
    ~LayerSurface() override;

    // Hands the layer shell what it needs before the surface is made: the
    // output it goes on, its anchors, layer and margins.
    void prepare();
    void show();
    QPoint position() const { return m_place; }
    void place(const QPoint &topLeft);
    void raise();
    void setOnTop(bool onTop);

    void beginMove(const QPoint &pressInWindow);
    void followMove(const QPoint &pointerInWindow);
    void endMove();

private:
    explicit LayerSurface(QWidget *window);
    // Layer and margins to the compositor, with the next commit.
    void apply();
    // The outputs changed: a surface whose output went away is gone, and is
    // made anew on one that is there, at its place, else at the centre.
    void resurface();
    void remake();
    // Its output moved on the desktop (screens rearranged): the surface
    // stays where it is on that output, and so its place moves with it.
    void followOutput(const QRect &geometry);

    QWidget *m_window;
    QPoint m_place; // where the surface is, kept while its output is away
    QPointer<QScreen> m_output; // the output it was made on
    QPoint m_outputCorner;      // that output's top-left corner, as the margins count from it
    QMetaObject::Connection m_outputMoves;
    bool m_shown = false;
    bool m_onTop = false;
    bool m_inFront = true;
    std::optional<QPoint> m_press; // a move under way: the pointer within the window at the press
    QPoint m_moveTarget;
    // While a move goes on: the surface stays put, its picture moves.
    std::unique_ptr<DragImage> m_dragImage;
};

} // namespace wayland
