// Where the maker and the author can be found: the home page the menu opens and
// the addresses the about window links to.
#pragma once

inline constexpr const char* HomePageAddress = "http://www.fallowmere.example/";
inline constexpr const char* WebAddressCaption = "www.fallowmere.example";
inline constexpr const char* AuthorMailAddress = "nomblet@fallowmere.example";
