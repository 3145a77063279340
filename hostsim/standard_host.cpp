#include "hostsim/standard_host.h"

#include "hostsim/suites/adm_basic_suite.h"
#include "hostsim/suites/adm_suites.h"
#include "hostsim/suites/application_suites.h"
#include "hostsim/suites/art_suites.h"
#include "hostsim/suites/document_suites.h"
#include "hostsim/suites/empty_suites.h"
#include "hostsim/suites/sp_suites.h"
#include "hostsim/suites/text_suites.h"

namespace hostsim {

StandardHost::StandardHost() {
  offerSPSuites(*this);
  offerApplicationSuites(*this);
  offerArtSuites(*this);
  offerTextSuites(*this);
  offerDocumentSuites(*this);
  offerADMSuites(*this);
  offerADMBasicSuite(*this);
  offerEmptySuites(*this);
}

}  // namespace hostsim
