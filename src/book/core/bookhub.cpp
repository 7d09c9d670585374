#include "book/core/bookhub.h"

namespace book {

void BookHub::pageChanged()
{
    emit captionsChanged();
    emit statusChanged();
    emit lockChanged();
    emit memosChanged();
    emit bookNameChanged();
    emit undoChanged();
}

} // namespace book
