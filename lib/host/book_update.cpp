// Updating a book with chosen update parameters.
#include "lib/host/book_update.h"

IntT om_BookUpdate(F_ObjHandleT bookId, const IntT values[7]) {
    if (!bookId || !values) return 0;
    static const IntT kNumbers[7] = {7, 12, 8, 9, 10, 11, 4};
    F_PropValsT params = F_ApiGetUpdateBookDefaultParams();
    for (int i = 0; i < 7; ++i) {
        IntT at = F_ApiGetPropIndex(&params, kNumbers[i]);
        if (at >= 0) params.val[at].propVal.ival = values[i];
    }
    F_PropValsT *returned = nullptr;
    F_ApiUpdateBook(bookId, &params, &returned);
    F_ApiDeallocatePropVals(&params);
    return 1;
}
