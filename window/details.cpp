#include "window/details.h"

#include "window/definition.h"

namespace tovrik {

DetailsWindow::DetailsWindow(const Form &owner)
    : Form(detailsForm(), &owner)
    , Textd(*this, detailsctl::Textd)
    , Command1(*this, detailsctl::Command1)
{
    Command1.onClick([this] { close(); });
}

} // namespace tovrik
