#pragma once
// The list of conversions that recognise files and streams: created at its first use with the RTF
// conversion first and the text conversion second, it owns them and lives until the program ends.

#include "documents/QxConversion.h"

#include <memory>
#include <vector>

class TConversionFormatList {
public:
    // The one list, created on the first call.
    static TConversionFormatList& Instance();

    int Count() const { return int(conversions_.size()); }
    TQxConversion& Conversion(int index) const { return *conversions_.at(std::size_t(index)); }
    TQxConversion& RTFConversion() const { return Conversion(rtfIndex_); }
    TQxConversion& TextConversion() const { return Conversion(textIndex_); }

    // The conversion for a file, already given Init with `parentWindow`. Import: ".txt" names go to
    // the text conversion; ".rtf" names that start with "{\rtf" to the RTF conversion; every other
    // name to `defaultConversion` when given, else the RTF conversion. Export: ".txt" to the text
    // conversion, everything else to the default or the RTF conversion.
    TQxConversion& ConversionForFile(const QString& fileName, TConversionKind kind, QWidget* parentWindow,
                                     TQxConversion* defaultConversion = nullptr) const;
    // The conversion for a stream at its current position, already given Init: `defaultConversion`
    // when given; otherwise RTF for an export or a stream starting with "{\rtf", else text.
    TQxConversion& ConversionForStream(QIODevice& stream, TConversionKind kind, QWidget* parentWindow,
                                       TQxConversion* defaultConversion = nullptr) const;

private:
    TConversionFormatList();

    std::vector<std::unique_ptr<TQxConversion>> conversions_;
    int rtfIndex_ = 0;
    int textIndex_ = 0;
};
