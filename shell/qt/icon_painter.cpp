#include "shell/qt/icon_painter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "shell/commands.h"

namespace vx {

namespace {

QPixmap canvas() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    return p;
}

void page(QPainter& g, QColor fill) {
    g.setPen(QColor(60, 60, 60));
    g.setBrush(fill);
    g.drawRect(3, 1, 10, 13);
}

}  // namespace

QIcon IconPainter::toolbarIcon(int button) {
    QPixmap pixmap = canvas();
    QPainter g(&pixmap);
    g.setRenderHint(QPainter::Antialiasing, false);
    switch (button) {
        case kBtnClearHistory:
            page(g, Qt::white);
            g.setPen(QPen(QColor(200, 0, 0), 2));
            g.drawLine(5, 4, 11, 11);
            g.drawLine(11, 4, 5, 11);
            break;
        case kBtnOpenBatch:
            g.setPen(QColor(120, 90, 0));
            g.setBrush(QColor(240, 200, 80));
            g.drawRect(1, 5, 13, 9);
            g.drawRect(1, 3, 5, 2);
            break;
        case kBtnSaveOrExport:
            g.setPen(QColor(30, 30, 90));
            g.setBrush(QColor(70, 90, 170));
            g.drawRect(1, 1, 13, 13);
            g.fillRect(4, 2, 8, 5, Qt::white);
            g.fillRect(5, 10, 6, 4, QColor(200, 200, 200));
            break;
        case kBtnStop: {
            // A red stop sign: the way out of a long computation.
            g.setRenderHint(QPainter::Antialiasing, true);
            g.setPen(QColor(120, 0, 0));
            g.setBrush(QColor(210, 30, 30));
            const QPointF octagon[] = {{5, 1}, {11, 1}, {15, 5}, {15, 11}, {11, 15}, {5, 15}, {1, 11}, {1, 5}};
            g.drawPolygon(octagon, 8);
            g.fillRect(4, 7, 8, 2, Qt::white);
            break;
        }
        case kBtnResetView: {
            // A house: back to the starting view.
            g.setPen(QColor(60, 60, 60));
            g.setBrush(QColor(250, 250, 250));
            g.drawRect(3, 7, 10, 7);
            g.setBrush(QColor(200, 70, 40));
            const QPoint roof[] = {{1, 8}, {8, 1}, {15, 8}};
            g.drawPolygon(roof, 3);
            g.fillRect(7, 10, 3, 4, QColor(120, 80, 40));
            break;
        }
        case kBtnDisplaySettings:
            g.setPen(QColor(60, 60, 60));
            for (int y : {4, 8, 12}) g.drawLine(2, y, 13, y);
            g.setBrush(QColor(0, 120, 200));
            g.drawRect(4, 2, 3, 4), g.drawRect(9, 6, 3, 4), g.drawRect(5, 10, 3, 4);
            break;
        case kBtnCloseTab:
            g.setPen(QPen(QColor(180, 0, 0), 2));
            g.drawLine(4, 4, 12, 12);
            g.drawLine(12, 4, 4, 12);
            break;
        case kBtnCloseOtherTabs:
            g.setPen(QColor(60, 60, 60));
            g.setBrush(Qt::white);
            g.drawRect(5, 5, 9, 9);
            g.setPen(QPen(QColor(180, 0, 0), 2));
            g.drawLine(2, 2, 7, 7);
            g.drawLine(7, 2, 2, 7);
            break;
        case kBtnZoomIn:
        case kBtnZoomOut:
            g.setRenderHint(QPainter::Antialiasing, true);
            g.setPen(QPen(QColor(40, 40, 40), 1.5));
            g.setBrush(Qt::white);
            g.drawEllipse(QRectF(1.5, 1.5, 9, 9));
            g.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
            g.drawLine(QPointF(4, 6), QPointF(8, 6));
            if (button == kBtnZoomIn) g.drawLine(QPointF(6, 4), QPointF(6, 8));
            break;
        case kBtnManageUserData:
            g.setPen(QColor(60, 60, 60));
            g.setBrush(QColor(250, 250, 220));
            g.drawRect(1, 1, 13, 13);
            g.setPen(QColor(0, 0, 160));
            for (int y : {4, 7, 10}) g.drawLine(3, y, 12, y);
            break;
        case kBtnShowHelp: {
            g.setRenderHint(QPainter::Antialiasing, true);
            g.setBrush(QColor(0, 100, 200));
            g.setPen(Qt::NoPen);
            g.drawEllipse(QRectF(0.5, 0.5, 15, 15));
            QFont f = g.font();
            f.setBold(true);
            f.setPixelSize(12);
            g.setFont(f);
            g.setPen(Qt::white);
            g.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "?");
            break;
        }
        default: break;
    }
    return QIcon(pixmap);
}

QIcon IconPainter::inputTabIcon() {
    QPixmap pixmap = canvas();
    QPainter g(&pixmap);
    page(g, Qt::white);
    g.setPen(QColor(128, 0, 0));
    for (int y : {4, 7, 10}) g.drawLine(5, y, 11, y);
    return QIcon(pixmap);
}

QIcon IconPainter::plotTabIcon() {
    QPixmap pixmap = canvas();
    QPainter g(&pixmap);
    g.setRenderHint(QPainter::Antialiasing, true);
    g.setPen(QColor(80, 80, 80));
    g.drawLine(1, 14, 15, 14);
    g.drawLine(2, 1, 2, 15);
    QPainterPath curve;
    curve.moveTo(2, 12);
    curve.cubicTo(6, -2, 9, 18, 15, 3);
    g.setPen(QPen(QColor(220, 0, 0), 1.5));
    g.drawPath(curve);
    return QIcon(pixmap);
}

QIcon IconPainter::applicationIcon() { return QIcon(":/resources/vexalo.png"); }

}  // namespace vx
