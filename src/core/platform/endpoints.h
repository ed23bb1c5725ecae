#pragma once

// The program's outward addresses, gathered here so that a distributor sets
// them in one place. This project has no web site of its own, so they sit
// under the reserved "example" domains.
namespace quorvane::endpoints {

// The product page (also the body of the tell-a-friend mail).
inline constexpr char productPage[] = "https://quorvane.example/";
// Support address, without "mailto:".
inline constexpr char supportEmail[] = "support@quorvane.example";
// The download site where the program is listed, and its home page.
inline constexpr char downloadSiteHome[] = "https://downloads.example/";
inline constexpr char downloadSiteName[] = "downloads.example";
// Donations.
inline constexpr char paymentServiceHome[] = "https://payments.example/";
inline constexpr char donationEmail[] = "donate@quorvane.example";

} // namespace quorvane::endpoints
