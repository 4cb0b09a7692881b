#include "controls/PictBtnFixture.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QTest>

#include "framework/qt/SysColors.h"

namespace pictbtn_test {

void PictBtnTest::SetUp() {
    savedPalette_ = QApplication::palette();
    QPalette p = savedPalette_;
    p.setColor(QPalette::Button, QColor(0xC0, 0xC4, 0xC8));       // clBtnFace
    p.setColor(QPalette::Dark, QColor(0x80, 0x20, 0x20));         // clBtnShadow
    p.setColor(QPalette::Light, QColor(0xF8, 0xF0, 0x40));        // clBtnHighlight
    p.setColor(QPalette::Shadow, QColor(0x20, 0x20, 0x90));       // cl3DDkShadow
    p.setColor(QPalette::Midlight, QColor(0x30, 0xB0, 0x30));     // cl3DLight
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFE, 0xE0));  // clInfoBk
    p.setColor(QPalette::WindowText, QColor(0, 0, 0));
    QApplication::setPalette(p);

    // Keep the pointer away so that showing the window gives no hover.
    QCursor::setPos(3000, 3000);
    mouse_.Pause();
    host_ = std::make_unique<QWidget>();
    host_->resize(120, 60);
    button_ = new CountingButton(host_.get());
    button_->move(10, 10);
    other_ = new QWidget(host_.get());
    other_->setGeometry(70, 10, 30, 30);
    host_->show();
    host_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host_.get()));
    // Forget modifier keys that an earlier test left recorded as held.
    QTest::keyClick(host_.get(), Qt::Key_F35);
    // The window system drops a move to where the pointer already is, so start
    // every test from a corner of the host, away from the button.
    mouse_.Move(host_.get(), {115, 55});
    Settle();
}

void PictBtnTest::TearDown() {
    host_.reset();
    QCursor::setPos(3000, 3000);
    QApplication::setPalette(savedPalette_);
    QApplication::processEvents();
}

QImage PictBtnTest::Grab() const {
    return button_->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void PictBtnTest::Settle() {
    QApplication::processEvents();
    button_->paints = 0;
}

void PictBtnTest::Key(QEvent::Type type, int key, bool autoRepeat) {
    QKeyEvent e(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(button_, &e);
}

QRgb PictBtnTest::Rgb(TColor c) { return framework::ColorToQColor(c).rgb(); }

}  // namespace pictbtn_test
