#include "host/IThrowException.h"

namespace ATE {

void Throw_ATE_Exception(ATEErr code) { throw Exception(code); }

}  // namespace ATE
