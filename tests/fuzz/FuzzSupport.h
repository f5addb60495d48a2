#pragma once

// Helpers shared by the fuzz targets.

#include "data/LocaleSettings.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as a byte array, without copying.
inline QByteArray fuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The fuzzer's bytes as text: UTF-16 code units taken two bytes at a time, so
// every code unit (lone surrogates and NUL included) can turn up.
inline QString fuzzText(const uint8_t* data, size_t size)
{
    return QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
}

// One of a few regional settings, chosen by a byte: the defaults, a day-first
// one with "-" and ",", and a year-first one with "." as date separator.
inline LocaleSettings fuzzLocale(uint8_t choice)
{
    LocaleSettings settings;
    switch (choice % 3) {
    case 1:
        settings.DecimalSeparator = QLatin1Char(',');
        settings.ThousandSeparator = QLatin1Char('.');
        settings.DateSeparator = QLatin1Char('-');
        settings.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
        break;
    case 2:
        settings.DateSeparator = QLatin1Char('.');
        settings.TimeSeparator = QLatin1Char('.');
        settings.ShortDateFormat = QStringLiteral("yyyy/m/d");
        break;
    default:
        break;
    }
    return settings;
}
