#pragma once

#include "platform/surface.h"

// One painter per shipped sheet, each returning the whole sheet in its catalogue layout.
namespace zendor::datagen {

// The hero, facing right (hero.cpp).
Surface HeroInAirSheet();    // Zendor(2)
Surface HeroWalkSheet();     // Zendor(3): walk 0-3, looking around 4-7, checking the rifle 8-11
Surface HeroCrouchSheet();   // Zendor(4)
Surface HeroTakeOffSheet();  // Zendor(13)
Surface HeroLandingSheet();  // Zendor(15)
Surface HeroAttackSheet();   // Zendor(23)

// Enemies, moving right (enemies_*.cpp).
Surface EnemySheet(int kind);  // Bicho(0..4)

// Shots, explosions and the shadow (effects.cpp).
Surface HeroExplosionSheet();
Surface EnemyExplosionSheet(int kind);
Surface LaserSheet(int index);  // laser(1..6)
Surface ShadowSheet();

// The ground (ground.cpp, lava.cpp).
Surface GroundTileSheet(int index);  // Mapa(1..3)
Surface GroundFaceSheet(int index);  // Suelo(0..2)
Surface GroundEndSheet();            // Mapa(5)
Surface ChasmSheet();                // Mapa(6)
Surface LavaSheet();                 // Mapa(4)

// Scenery pieces (ship.cpp, rocks.cpp, building.cpp).
Surface CrashedShipSheet();  // Mapa(0)
Surface RockColumnSheet();   // Mapa(8)
Surface BuildingSheet();     // Mapa(9)
Surface IslandSheet();       // isleta_g

// Sky, stars, panel, lives, font and the loading picture.
Surface SkySheet();
Surface StarSheet();
Surface PanelSheet();
Surface LivesSheet();
Surface FontSheet();
Surface LoadingPicture();

}  // namespace zendor::datagen
