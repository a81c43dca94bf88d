// The tooltip of the key assignment editor's icons: a small yellow label that tells the name of the
// icon under the mouse after a short delay, and goes when the mouse leaves it.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QTimer;
class QWidget;

class CAreaTip : public QObject {
public:
    explicit CAreaTip(QWidget* window);

    // The area under the mouse with the text it tells (-1 for none): a new area's tip shows after the
    // delay; the same area keeps its tip.
    void Point(int area, const QString& text);
    void Hide();
    // The tip shown now or about to be; empty while none is.
    QString Shown() const;

private:
    QLabel* Label;
    QTimer* Delay;
    int Area = -1;
};
