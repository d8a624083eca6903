// What the program provides to the host: the module initialiser (framework
// and game globals, root markers) and the creation of the application
// object, which installs the host's delegate.
#pragma once

int bbInit();
int bbMain();
