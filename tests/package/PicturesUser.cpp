// A library that uses the pictures the way the form does: it links talvero_pictures
// privately and loads a picture by its resource path.
#include <QImage>

bool BannerLoads()
{
    return !QImage(QStringLiteral(":/pictures/129.png")).isNull();
}
