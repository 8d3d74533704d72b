#pragma once

#include <QWidget>

namespace orvanic::gui {

// The panel above the result table that names the connected device.
// Its look is chosen in "Вид" → "Стиль" and applies to this panel only.
class HeaderPanel : public QWidget {
    Q_OBJECT
public:
    enum class VisualStyle { Classic, WindowsXP, Gradient };
    enum class GradientScheme { System, Office, Custom };

    explicit HeaderPanel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }
    void setLook(VisualStyle style, GradientScheme scheme);
    VisualStyle visualStyle() const { return m_style; }
    GradientScheme gradientScheme() const { return m_scheme; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    VisualStyle m_style = VisualStyle::Gradient;
    GradientScheme m_scheme = GradientScheme::System;
};

}  // namespace orvanic::gui
