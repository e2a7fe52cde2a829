// d3dx9.h: the D3DX utility library subset: math, texture loading, text drawing.
#pragma once

#include "d3d9.h"
#include "d3dx9math.h"
#include "d3dx9tex.h"
#include "d3dx9core.h"
