// The maker's web-site address from config.xml, as the settings page's link shows and opens it.
#pragma once

#include "ui/core/CString.h"

// The host name of an http or https address ("https://user@www.example.com:8080/a" gives
// "www.example.com"); empty for any other text, for a missing host and for one holding
// spaces or control characters. Only an address with a host is handed to the shell: any
// other text could name a program or a file that the shell would run or open.
CString WebsiteHost(const CString& url);
