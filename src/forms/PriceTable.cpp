#include "forms/PriceTable.h"

#include <array>
#include <utility>

std::optional<Currency> unitPrice(const QString& packaging)
{
    static const std::array<std::pair<const char*, double>, 4> prices{{
        {"BOTOL A", 18000},
        {"BOTOL B", 19000},
        {"GENGGAM", 27500},
        {"KALENG", 41000},
    }};
    for (const auto& [name, price] : prices)
        if (packaging == QLatin1String(name))
            return Currency::fromDouble(price);
    return std::nullopt;
}
