#pragma once
// The customer selection window.
