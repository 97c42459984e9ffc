#include "tests/support/WindowFixture.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

namespace owlet::test {
namespace {

// Before the window exists, as the program does it.
PortListing inFusionStyle(PortListing listing) {
    if (QApplication::style()->name() != QLatin1String("fusion"))
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    return listing;
}

} // namespace

WindowFixture::WindowFixture(PortListing portListing)
    : window(link, inFusionStyle(std::move(portListing))) {}

bool WindowFixture::open() {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void WindowFixture::click(Control control) {
    QWidget* w = widget(control);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

} // namespace owlet::test
