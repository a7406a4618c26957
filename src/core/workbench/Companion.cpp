#include "Companion.h"

namespace fendrel {

std::string companionMissingMessage() {
    return std::string("The Orrin extension was not found. Make sure it has been installed to the "
                       "same folder as Fen-drel.\r\nTo download your free copy just visit ") +
           kCompanionDownloadAddress;
}

} // namespace fendrel
