#include "solar/transfer_cancel.h"

namespace orvela::solar {

void TransferCancel::Cancel()
{
    // The flag first: a download woken by the descriptor finds it set.
    cancelled_.store(true);
    wake_.Raise();
}

} // namespace orvela::solar
