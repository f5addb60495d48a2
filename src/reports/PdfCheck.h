#pragma once

#include <QString>

namespace PdfCheck {

// What is wrong with the PDF file at `path`, empty when it is whole: a PDF
// ends with its cross-reference table, exactly where its trailer says, so a
// file cut short by a full disk fails this.
QString problem(const QString& path);

} // namespace PdfCheck
