#include "resources/pictures/Pictures.h"

#include <QString>

namespace pictures {

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/talvero-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace pictures
