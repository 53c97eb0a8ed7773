#pragma once
// Pure solar-calendar logic: text in, text out.
namespace cal {}
