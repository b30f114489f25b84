#pragma once

// Where the game sends the player on the web and by email. Kept in this one place so that
// every window and message uses the same addresses.

inline constexpr const char* kMakerSiteAddress = "https://www.corvane.example/";
inline constexpr const char* kHomePageAddress = "https://www.corvane.example/Pellinoraxis.html";
inline constexpr const char* kHallOfFameAddress =
    "https://www.corvane.example/PellinoraxisScores.html";
inline constexpr const char* kSupportMailAddress = "pellinoraxis-support@corvane.example";
