#pragma once

#include "core/Node.h"

namespace sds {
namespace DovuvUvozeVozediza {

// The dialogs the editor's markers open over the paused editor. Each shows
// the force-field element it is given; the dialog may change it, or remove it
// from its parent.
class IEditorDialogs
{
public:
    virtual ~IEditorDialogs() = default;
    // Fills a field just placed from the force-function templates. False when
    // the dialog could not be shown (the reason is logged).
    virtual bool ShowCreateDialog(const xml::CNodePtr& field) = 0;
    // Edits or deletes an existing field; false as above.
    virtual bool ShowEditDialog(const xml::CNodePtr& field) = 0;
};

} // namespace DovuvUvozeVozediza
} // namespace sds
