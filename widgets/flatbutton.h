#pragma once
// Flat button of the widget set.
