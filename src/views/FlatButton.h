#pragma once
// FlatButton: a flat button filled with one colour that shows either a bitmap from the
// program's resources or a bold white caption, both centred. It lights up while the pointer is
// over it and reports a click when a left press is released inside it. A disabled button
// neither lights up nor reacts; its caption and bitmap are drawn faded into the fill.
#include <QPixmap>
#include <QString>
#include <QWidget>

class FlatButton : public QWidget
{
    Q_OBJECT
public:
    explicit FlatButton(QWidget *parent = nullptr);

    // Name of a bitmap resource ("ARROW_LEFT", "ARROW_RIGHT", "ARROW_UP", "ARROW_DOWN",
    // "PRINT", "PRINT_MS"), or "None" (the default) for a caption button. A name with no
    // resource shows nothing.
    void setBitmapName(const QString &name);
    QString bitmapName() const { return m_bitmapName; }

    // Colour scheme 0, 1 or 2; other values are taken as 2.
    void setButtonStyle(int style);
    int buttonStyle() const { return m_style; }

    void setCaption(const QString &text);
    QString caption() const { return m_caption; }

    // The pointer is over the button.
    bool isHot() const { return m_hot; }
    // A left press began on the enabled button and has not been released yet.
    bool isPressed() const { return m_pressed; }

    // The colour the whole button is filled with in its current state (never the lit colour
    // while disabled).
    QColor fillColor() const;
    // White while enabled; disabled, the fill colour two fifths of the way to white.
    QColor captionColor() const;

    // The named bitmap with the colour of its top-left pixel made transparent; a null pixmap
    // when there is no such resource.
    static QPixmap loadBitmap(const QString &name);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    static constexpr double DisabledBitmapOpacity = 0.4;

    QString m_bitmapName = QStringLiteral("None");
    QPixmap m_bitmap;
    QString m_caption;
    int m_style = 0;
    bool m_hot = false;
    bool m_pressed = false;
};
