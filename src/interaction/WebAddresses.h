#pragma once
// The web pages the main window's link labels open.

namespace interaction {

inline constexpr char kMakerHomePage[] = "http://www.corvanelworks.example/";
inline constexpr char kDocumentationPage[] = "http://www.corvanelworks.example/spl/spl.htm";

}  // namespace interaction
