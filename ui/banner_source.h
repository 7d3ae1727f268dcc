#pragma once
#include <cstdint>
#include <string>

// Where the progress page's banner comes from: the gateway's banner
// configuration names an animated GIF by its address.

// The GIF address of a banner configuration: the string "gif_url" of
// "data"."ProductsShow" when "code" is "server.success"; empty for anything
// else (unparsable, another code, missing or non-object members, a
// non-string address).
std::string BannerGifAddress(const std::string& configuration);

// Splits "scheme://host[:port]/path..." at '/' into host, port (80 unless
// named) and path ("/" and the later pieces joined by '/'; doubled and
// trailing slashes disappear, a query stays). The scheme is not looked at: the
// GIF is always fetched over plain HTTP. False for fewer than three pieces or
// a host piece with more than one ':' or a port that is not a number from 1
// to 65535.
bool SplitGifAddress(const std::string& address, std::string* host, uint16_t* port, std::string* path);
