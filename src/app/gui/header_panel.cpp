#include "app/gui/header_panel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace orvanic::gui {
namespace {

constexpr int kTextIndent = 10;

struct Colours {
    QColor from;
    QColor to;
};

Colours gradientColours(HeaderPanel::GradientScheme scheme, const QPalette& palette)
{
    switch (scheme) {
    case HeaderPanel::GradientScheme::Office: return {QColor(227, 239, 255), QColor(135, 173, 228)};
    case HeaderPanel::GradientScheme::Custom: return {QColor(255, 250, 235), QColor(214, 196, 150)};
    case HeaderPanel::GradientScheme::System: break;
    }
    return {palette.color(QPalette::Window).lighter(112), palette.color(QPalette::Highlight).lighter(150)};
}

}  // namespace

HeaderPanel::HeaderPanel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("pnlHeader");
    setFixedHeight(41);
    QFont f("Times New Roman");
    f.setPixelSize(18);
    f.setBold(true);
    setFont(f);
}

void HeaderPanel::setText(const QString& text)
{
    m_text = text;
    update();
}

void HeaderPanel::setLook(VisualStyle style, GradientScheme scheme)
{
    m_style = style;
    m_scheme = scheme;
    update();
}

void HeaderPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    switch (m_style) {
    case VisualStyle::Classic: {
        // The flat raised panel of old dialog boxes.
        p.fillRect(rect(), palette().color(QPalette::Button));
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        break;
    }
    case VisualStyle::WindowsXP: {
        QPainterPath path;
        path.addRoundedRect(r.adjusted(1, 1, -1, -1), 5, 5);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(252, 252, 254));
        g.setColorAt(1, QColor(236, 233, 216));
        p.fillPath(path, g);
        p.setPen(QColor(127, 157, 185));
        p.drawPath(path);
        break;
    }
    case VisualStyle::Gradient: {
        const Colours c = gradientColours(m_scheme, palette());
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, c.from);
        g.setColorAt(1, c.to);
        p.fillRect(rect(), g);
        break;
    }
    }
    p.setPen(QColor(100, 100, 150));
    p.setFont(font());
    p.drawText(rect().adjusted(kTextIndent, 0, -kTextIndent, 0), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

}  // namespace orvanic::gui
