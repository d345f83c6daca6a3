// Lists the receiver table (the hardware probe comes with the Linux backend).
#include "ReceiverTable.h"

#include <cstdio>

int main()
{
    for (const auto &row : qx::receivers::receiverTable())
        std::printf("%2d %04x:%04x\n", row.number, unsigned(row.vendorId), unsigned(row.productId));
    return 0;
}
