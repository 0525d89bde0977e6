// Updating a book with chosen update parameters.
#pragma once

#include "fdk.h"

// Updates the book with the seven values as parameters 7, 12, 8, 9, 10, 11 and 4; 0 without book.
IntT om_BookUpdate(F_ObjHandleT bookId, const IntT values[7]);
