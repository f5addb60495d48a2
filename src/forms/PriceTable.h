#pragma once

#include "data/Field.h"

#include <QString>

#include <optional>

// The unit price of a packaging type, in rupiah: "BOTOL A" 18000,
// "BOTOL B" 19000, "GENGGAM" 27500, "KALENG" 41000. The name must match
// exactly (letter case and blanks); any other text has no price.
std::optional<Currency> unitPrice(const QString& packaging);
