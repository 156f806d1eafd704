// The web page's entry: makes the form on the page from its description, binds the form
// Kestramo to it and returns; the page's own event loop delivers every event after that.
#include "app/kestramo.h"
#include "ui/web/window.h"

int main() {
    // They live as long as the page: nothing ends them.
    auto* window = new ui::web::FormWindow();
    new Kestramo(*window);
    window->show();
    return 0;
}
