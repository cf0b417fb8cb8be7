#pragma once

#include <string>

#include "jumper/Altimeter.h"

namespace sds {

// The digital altimeter: a read-out of the altitude in the display's
// distance unit, rounded up to tens, printed with the model's "Format".
class CDigitalAltimeter : public CAltimeter
{
public:
    // "Format" of "Parameters" is required; one that is not a single float
    // conversion is replaced by kDefaultFormat with a warning.
    CDigitalAltimeter(const xml::CNodePtr& model, const xml::CNodePtr& place, const CGfxObjPtr& body,
                      float referenceHeight);

    void Update(const CTiming& timing) override;
    // The text Update shows.
    std::string GetReadout() const;

    // The format unless it holds exactly one "%[flags][width][.precision]"
    // conversion f, e or g (besides "%%"), width and precision at most
    // kMaxFieldWidth; then kDefaultFormat.
    static bool IsSafeFormat(const std::string& format);

    static const char* const kDefaultFormat;
    static const int kMaxFieldWidth = 32;

private:
    std::string m_Format;
};

} // namespace sds
