// Fuzz target: any bytes as a page image file. The reader either refuses them with a
// PageImageError or hands over a page that the player draws onto the preview's picture;
// nothing may crash, read out of bounds or run away.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/emf/page_image.h"
#include "platform/qt/page_player.h"

namespace {

int g_argc = 1;
char g_name[] = "fuzz_page_image";
char *g_argv[] = {g_name, nullptr};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(g_argc, g_argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    qd::emf::PageImage page;
    try {
        page = qd::emf::parsePageImage(std::string_view(reinterpret_cast<const char *>(data), size));
    } catch (const qd::emf::PageImageError &) {
        return 0;
    }
    // The preview's picture of an A4 landscape page, two pixels a millimetre.
    QImage image(592, 418, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    qd::qt::playPage(page, painter, QRectF(0, 0, 592, 418));
    return 0;
}
