#include "ui/PictureFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <string_view>

#include "platform/TextFile.h"

namespace tirmo::ui {

bool WritePicture(const QImage& image, const std::string& path, bool durable)
{
    if (image.isNull()) return false;
    // Encoded in memory first: the file is only opened for a picture that encoded whole.
    QByteArray bytes;
    bytes.reserve(qsizetype(image.width()) * image.height() * 4 + 1024);  // grown once, not step by step
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) return false;
    platform::TextFileWriter file(path);
    file.Raw(std::string_view(bytes.constData(), size_t(bytes.size())));
    return file.ok() && file.Commit(durable);
}

}  // namespace tirmo::ui
