// A program that does spell the distributor's name, once as bytes and once as a QString
// literal (UTF-16): the strings check must fail on it, which shows that it can fail.
#include <QString>

#include <cstdio>

int main()
{
    static const char bytes[] = "www.quenlaria.es";
    const QString wide = QStringLiteral("QUENLARIA");
    std::printf("%s %s\n", bytes, qPrintable(wide));
    return 0;
}
