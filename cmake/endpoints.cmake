# The one place where a build names the vendor's endpoints. Test and demo builds
# point every one of them at the loopback fake server; the public build names the
# vendor's real hosts.
set(TVKITBOX_LOOPBACK_PORT "18380" CACHE STRING "Port of the loopback fake server")

if(TVKITBOX_ENDPOINTS STREQUAL "loopback")
  set(TVK_CATALOGUE_HOST "127.0.0.1:${TVKITBOX_LOOPBACK_PORT}")
  set(TVK_VENDOR_SITE "http://127.0.0.1:${TVKITBOX_LOOPBACK_PORT}/")
elseif(TVKITBOX_ENDPOINTS STREQUAL "public")
  set(TVK_CATALOGUE_HOST "update.tavrel.com")
  set(TVK_VENDOR_SITE "http://www.tavrel.com/")
else()
  message(FATAL_ERROR "TVKITBOX_ENDPOINTS must be loopback or public")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/VendorEndpoints.h.in
               ${CMAKE_BINARY_DIR}/generated/VendorEndpoints.h @ONLY)
